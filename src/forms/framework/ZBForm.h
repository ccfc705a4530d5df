// TZbForm: the base of every form of the library. It owns the code converter
// and the language controller, gives each form the same look at creation (no
// preselected input method, an English-desktop font, two-state glyphs on its
// buttons) and the few operations through which descendants reach the
// converter and the language texts.
#pragma once

#include <string>

#include "lang/CodeConverter.h"
#include "lang/LanguageController.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace zb {

class TBitmap;

// Widens a one-image glyph to [image, engraved disabled image] side by side.
void MakeDisabledGlyph(TBitmap& glyph);

class TZbForm : public TForm {
    ZB_CLASS(TZbForm, TForm)

public:
    explicit TZbForm(TComponent* owner = nullptr);

    // Components of the form resource.
    TCodeConverter* ZbConverter = nullptr;
    TZbLangController* LangController = nullptr;

    bool Converted = false;      // ConvertTexts has run
    bool AutoTranslate = true;   // apply the language files whenever the form is shown

    // Applies the language files named after Target's class chain, from the
    // outermost class below the class library's form down to Target's own;
    // only Target's own class without ancestors.
    virtual void LoadLanguage(TComponent* target, bool withAncestors);
    // The same without TZbForm's own file.
    virtual void LoadOwnLanguage(TComponent* target, bool withAncestors);

    // Published handlers; descendants call them as inherited.
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);

    // Converts the texts of the whole form, once.
    void ConvertTexts();
    int ShowMsg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
    void GetSysCodePage(std::string& text) const;
    void GetUICodePage(std::string& text) const;
    std::string SysCodePage() const;
    std::string UICodePage() const;
    void Translate(bool withAncestors) { LoadLanguage(this, withAncestors); }
    // The language text under section ("TfrmBaseGene") and key, or `def`
    // (converted for the screen first when convertDefault).
    void GetLangText(const std::string& section, const std::string& key, std::string& text, bool convertDefault,
                     const std::string& def) const;
    std::string LangText(const std::string& section, const std::string& key, const std::string& def,
                         bool convertDefault = true) const;
    static int TextConvMode(const TZbForm& form) { return form.ZbConverter->UIConvertMode; }
    static int DataConvMode(const TZbForm& form) { return form.ZbConverter->DBConvertMode; }

private:
    void ApplyChain(TComponent* target, bool withAncestors, const ClassInfo* stopBelow);
    void PrepareComponent(TComponent& component, bool englishFonts);
    // Widens the one-image glyphs of the component's buttons with their
    // disabled image.
    void GiveDisabledGlyphs(TComponent& component);
};

}  // namespace zb
