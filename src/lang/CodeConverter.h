// TCodeConverter: makes forms written in Simplified Chinese (GB) usable on a
// Traditional Chinese (BIG5) desktop and carries texts between a database in
// one code page and a screen in the other. Every form owns one.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "lang/DesignType.h"
#include "lang/TranslatorU.h"
#include "platform/core/Component.h"
#include "platform/core/Variant.h"
#include "platform/ui/Dialogs.h"

namespace zb {

class TCustomForm;
class TFont;

// The settings the converter takes from the client profile.
struct TConverterProfile {
    std::string SysCodePage = "936";
    std::string UICodePage = "936";
    std::string DBCodePage = "936";
    int UIConvertMode = 0;  // 0 none, 1 BIG5->GB, 2 GB->BIG5, 3 BIG5 fonts only, 4 GB fonts only
    int DBConvertMode = 0;
    std::string TranslatorLibrary = TTranslator::DefaultLibraryName;
};

// The client profile's settings (OrkelC.ini and the system code page).
TConverterProfile ClientConverterProfile();

// Converts the texts of a control the converter cannot know (it lives in a
// layer above): `convert` converts one text in the form's direction.
using TControlConversion = std::function<void(TComponent& component, const std::function<std::string(const std::string&)>& convert)>;

class TCodeConverter : public TComponent {
    ZB_CLASS(TCodeConverter, TComponent)

public:
    // Reads the client profile. Throws the translator's errors when the
    // screen needs conversion and the translation library cannot serve.
    explicit TCodeConverter(TComponent* owner = nullptr);
    TCodeConverter(TComponent* owner, const TConverterProfile& profile);
    ~TCodeConverter() override;

    std::string SysCodePage = "936";
    std::string UICodePage = "936";
    std::string DBCodePage = "936";
    int UIConvertMode = 0;
    int DBConvertMode = 0;

    // Stored with the form; setting it does not read the profile again.
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType t) { designType_ = t; }
    TTranslator* Translator() const { return translator_.get(); }

    // Converts the whole form once, before it is first shown.
    void ConvertForm(TCustomForm* form, bool deep);

    // Value converted by `mode` (1 BIG5->GB, 2 GB->BIG5, others unchanged),
    // arrays element by element. Throws EVariantError for a null element of
    // a one-dimensional array under modes 1 and 2.
    Variant ConvertVariant(int mode, const Variant& value) const;
    Variant ToUI(const Variant& value) const { return ConvertVariant(UIConvertMode, value); }
    // The inverse of UIConvertMode; never throws: a failed conversion gives
    // `value` back.
    Variant FromUI(const Variant& value) const;
    Variant DataToUI(const Variant& value) const { return ConvertVariant(DBConvertMode, value); }
    // The inverse of DBConvertMode; never throws, as FromUI.
    Variant UIToData(const Variant& value) const;

    // The translator's conversions; EInvalidOperation without a translator.
    std::string Big5ToGB(const std::string& text) const;
    std::string GBToBig5(const std::string& text) const;

    // A message dialog with the owner form's caption in the converted font;
    // 0 without showing anything for an empty text.
    int MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

    // Modes 0, 1 and 4 give "SimSun" with the GB character set (134), modes 2
    // and 3 "SimSun" with BIG5 (136); other modes leave the font alone.
    static void ApplyFontRule(TFont& font, int mode);

    // Registers the conversion of a class's own texts under modes 1 and 2
    // (components of that class and its descendants).
    static void RegisterControlConversion(const ClassInfo& classInfo, TControlConversion conversion);

private:
    void Setup(const TConverterProfile& profile);
    std::string ConvertText(int mode, const std::string& text) const;
    void ConvertComponent(TComponent& component, int mode, bool deep);

    TDesignType designType_ = TDesignType::dtClient;
    std::unique_ptr<TTranslator> translator_;
};

}  // namespace zb
