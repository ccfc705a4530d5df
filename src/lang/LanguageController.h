// Language files (".Lng", XML) applied to a component tree at run time: every
// element names a component, every attribute a property path and the text
// to put there; the same files hold message texts looked up by name. The
// controller decides which file is open, the reader applies it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "lang/DesignType.h"
#include "platform/core/Component.h"
#include "platform/core/Events.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/xml/XmlDom.h"

namespace zb {

// Every failure of the language controller.
ZB_DECLARE_EXCEPTION(LanguageControllerError, Exception);

// Raised around applying one element to one component.
using TLoadComponentEvent = TEvent<void(TComponent* xComponent, const XmlNode& xComponentNode)>;

// ---------------------------------------------------------------------------
// Property paths

// One "."-separated segment: the name is the text before the first "_", the
// index the decimal number after it (-1 when there is no "_" or the rest is
// not a number that fits an int).
struct TPathSegment {
    std::string Name;
    int Index = -1;
};
TPathSegment ParsePathSegment(std::string_view segment);

// Larger indexes of a string list are refused: a file must not be able to
// make a list of millions of empty lines.
constexpr int MaxLangListIndex = 99999;

// Assigns `value` to the property path `path` of `component` as a language
// file does. False when the path leads nowhere or the value is not taken;
// never throws for a bad path or value.
bool ApplyLangAttribute(TComponent& component, std::string_view path, const std::string& value);

// Sets a published property by name from a text, following "." object by
// object; integers take registered names (clRed), enumerations and sets are
// trimmed unless the text is an integer. False on any failure.
bool SetLangPropValue(TObject& object, std::string_view name, const std::string& value);

// ---------------------------------------------------------------------------
// Readers

// Applies one element to one component.
class ILangRead {
public:
    virtual ~ILangRead() = default;
    virtual TComponent* Component() const = 0;
    virtual void SetComponent(TComponent* component) = 0;
    virtual XmlNode Element() const = 0;
    virtual void SetElement(const XmlNode& element) = 0;
    // False when there is no such attribute or it was not applied.
    virtual bool ReadAttribute(int index) = 0;
    virtual bool ReadAttribute(const std::string& name) = 0;
    // Every attribute, in document order.
    virtual void ReadAll() = 0;
};

class TComponentRead : public ILangRead {
public:
    TComponent* Component() const override { return component_; }
    void SetComponent(TComponent* component) override { component_ = component; }
    XmlNode Element() const override { return element_; }
    void SetElement(const XmlNode& element) override { element_ = element; }
    bool ReadAttribute(int index) override;
    bool ReadAttribute(const std::string& name) override;
    void ReadAll() override;

protected:
    TComponent* component_ = nullptr;
    XmlNode element_;
};

// A reader that keeps the component's published "ItemIndex" across ReadAll,
// since replacing the items of a list control loses the selection.
class TItemIndexKeepingRead : public TComponentRead {
public:
    void ReadAll() override;
};

// The class library's combo boxes ("TCustomComboBox" and descendants).
class TCustomComboBoxRead : public TItemIndexKeepingRead {};
// The data-aware combo boxes ("TwwDBCustomComboBox" and descendants).
class TwwDBCustomComboBoxRead : public TItemIndexKeepingRead {};

// Picks the reader for a component: the reader registered for the nearest
// class of its chain (by class name, without case), TComponentRead when none.
// "TCustomComboBox" and "TwwDBCustomComboBox" are registered from the start.
class TReaderFactory {
public:
    using Creator = std::function<std::unique_ptr<ILangRead>()>;
    static void RegisterReader(std::string_view className, Creator creator);
    static void UnregisterReader(std::string_view className);
    static std::unique_ptr<ILangRead> CreateReader(TComponent* component);
};

// True for the components whose language file applies its root element to
// them: forms and data modules ("TCustomForm", "TDataModule" in the chain).
bool IsLangRoot(const TComponent* component);

// Applies a loaded document to a component tree.
class TLangReader : public TObject {
    ZB_CLASS(TLangReader, TObject)

public:
    explicit TLangReader(const XmlDocument& document);
    ~TLangReader() override;

    const XmlDocument& Document() const { return document_; }
    // Names of components whose own element is not applied (trimmed, without case).
    void SetExcludeControls(const TStrings& names);
    const TStringList& ExcludeControls() const { return exclude_; }

    // The element standing for `name`: the first element of that tag name in
    // document order (exact case), the root included; null when none.
    XmlNode FindElement(std::string_view name) const;

    // The component (its root element when it is a form or data module, then
    // the element of its name) and everything it owns, in order.
    void ReadComponent(TComponent* component);

    TLoadComponentEvent BeforeLoadComponent;
    TLoadComponentEvent AfterLoadComponent;

private:
    void Apply(TComponent* component, const XmlNode& element);
    void BuildIndex() const;
    void ReadTree(TComponent* component, int depth);

    XmlDocument document_;
    TStringList exclude_;
    std::unordered_set<std::string> excluded_;  // trimmed, lower case
    mutable bool indexed_ = false;
    mutable std::unordered_map<std::string, XmlNode> elements_;
};

// ---------------------------------------------------------------------------
// Controllers

class TLanguageController : public TComponent {
    ZB_CLASS(TLanguageController, TComponent)

public:
    explicit TLanguageController(TComponent* owner = nullptr);
    ~TLanguageController() override;

    const std::string& FileName() const { return fileName_; }
    // A different name deactivates the controller.
    void SetFileName(const std::string& fileName);

    // A document with a root element is loaded. Activating loads FileName and
    // throws LanguageControllerError when it is empty, missing or broken.
    bool Active() const;
    void SetActive(bool active);

    // Null while inactive.
    const XmlDocument* Document() const { return document_ ? &*document_ : nullptr; }
    // Throws LanguageControllerError "No active LanguageController!" while inactive.
    TLangReader& Reader() const;

    TStringList* ExcludeControls() const { return exclude_.get(); }
    void SetExcludeControls(TStrings* names);

    // Applies an Active requested while the controller was being loaded.
    virtual void Loaded();

    TNotifyEvent BeforeOpen;
    TNotifyEvent AfterOpen;
    TNotifyEvent BeforeClose;
    TNotifyEvent AfterClose;
    TLoadComponentEvent BeforeLoadComponent;
    TLoadComponentEvent AfterLoadComponent;

private:
    void Open();
    void Close();
    void ExcludeChanged(TObject* sender);

    std::string fileName_;
    std::optional<XmlDocument> document_;
    std::unique_ptr<TLangReader> reader_;
    std::unique_ptr<TStringList> exclude_;
    bool streamedActive_ = false;
};

class TZbLangController : public TLanguageController {
    ZB_CLASS(TZbLangController, TLanguageController)

public:
    explicit TZbLangController(TComponent* owner = nullptr);

    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType type) { designType_ = type; }

    const std::string& LangPackageName() const { return packageName_; }
    // FileName becomes the language folder + name + ".Lng"; a different file
    // deactivates the controller, the same one leaves it as it is.
    void SetLangPackageName(const std::string& name);

private:
    TDesignType designType_ = TDesignType::dtClient;
    std::string packageName_;
};

// Applies the language files of the form's class chain, from the outermost
// class below the class library's form (or component) down to the form's
// own class, each file that exists in the language folder in turn, so a more
// derived file overrides its ancestors'.
void ApplyLanguageFiles(TZbLangController& controller, TComponent& form);

// ---------------------------------------------------------------------------
// Language folder and messages

// The client or server profile's settings the language folder comes from.
struct TLangProfile {
    std::string BasePath;    // ClientPath or ServerPath
    std::string UICodePage;  // "936", "950", "437", ...
};
using TLangProfileSource = std::function<TLangProfile(TDesignType)>;

// Installs where the profile settings come from; the configuration readers
// (OrkelC.ini, OrkelS.ini) until replaced. Without a source (null) there is
// no folder. Returns the previous source.
TLangProfileSource SetLangProfileSource(TLangProfileSource source);

// base + "MultiLanguage/" + CHS, CHT or ENG (for 936, 950, 437) + "/"; empty
// when the code page has no language or the folder does not exist.
std::string LanguageFolder(std::string_view basePath, std::string_view uiCodePage);
std::string LanguageFolder(TDesignType designType);

// The text of the attribute "Msg" of the first element named `msgName` in the
// file language folder + fileBase + ".Lng"; `defaultText` when the file, the
// element or the attribute is missing or the file does not load.
std::string ReadLangMsg(TDesignType designType, const std::string& fileBase, const std::string& msgName,
                        const std::string& defaultText);
// The same on a loaded document.
std::string ReadLangMsg(const XmlDocument& document, const std::string& msgName, const std::string& defaultText);

}  // namespace zb
