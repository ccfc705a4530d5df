#include "forms/framework/ZBForm.h"

#include "platform/core/Published.h"
#include "platform/core/TypInfo.h"
#include "platform/os/Paths.h"
#include "platform/ui/Graphics.h"

namespace zb {

ZB_PUBLISHED(TZbForm){};

TZbForm::TZbForm(TComponent* owner) : TForm(owner) {
    SetName("ZBForm");
    SetCaption("ZBForm");
    SetBounds(Left(), Top(), 400, 191);
    SetPosition(TPosition::poScreenCenter);
    SetKeyPreview(true);
    SetScaled(false);
    SetShowHint(true);
    Font()->SetName("宋体");
    Font()->SetHeight(-13);
    Font()->SetCharset(DEFAULT_CHARSET);

    ZbConverter = new TCodeConverter(this);
    ZbConverter->SetName("ZbConverter");
    ZbConverter->SetDesignType(TDesignType::dtClient);
    LangController = new TZbLangController(this);
    LangController->SetName("LangController");

    OnCreate = Handler<&TZbForm::FormCreate>(this);
    OnShow = Handler<&TZbForm::FormShow>(this);
}

void TZbForm::FormCreate(TObject*) {
    Converted = false;
    AutoTranslate = true;
    const bool englishFonts = UICodePage() == "437";
    for (int i = 0; i < ComponentCount(); ++i) PrepareComponent(*Components(i), englishFonts);
}

void TZbForm::PrepareComponent(TComponent& component, bool englishFonts) {
    if (IsPublishedProp(&component, "ImeName")) SetPropValue(component, "ImeName", Variant(""));
    if (englishFonts && IsPublishedProp(&component, "Font")) {
        if (auto* control = dyn_cast<TControl>(&component)) {
            control->Font()->SetCharset(GB2312_CHARSET);
            control->Font()->SetName("Tahoma");
        }
    }
    GiveDisabledGlyphs(component);
}

void TZbForm::FormShow(TObject*) {
    if (AutoTranslate) Translate(true);
}

void TZbForm::LoadLanguage(TComponent* target, bool withAncestors) {
    ApplyChain(target, withAncestors, &TForm::StaticClassInfo());
}

void TZbForm::LoadOwnLanguage(TComponent* target, bool withAncestors) {
    ApplyChain(target, withAncestors, &TZbForm::StaticClassInfo());
}

// The file of each class in turn, outermost first, so a more derived file
// overrides what an ancestor's set.
void TZbForm::ApplyChain(TComponent* target, bool withAncestors, const ClassInfo* stopAt) {
    if (!target) return;
    std::vector<std::string> names;
    for (const ClassInfo* c = &target->ClassType(); c; c = c->Parent()) {
        if (c == stopAt || c == &TForm::StaticClassInfo()) break;
        names.insert(names.begin(), std::string(c->Name()));
        if (!withAncestors) break;
    }
    for (const std::string& name : names) {
        LangController->SetLangPackageName(name);
        if (!FileExists(LangController->FileName())) continue;
        LangController->SetActive(true);
        LangController->Reader().ReadComponent(target);
    }
}

void TZbForm::ConvertTexts() {
    if (Converted) return;
    ZbConverter->ConvertForm(this, true);
    Converted = true;
}

int TZbForm::ShowMsg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return ZbConverter->MessageDialog(text, type, buttons);
}

void TZbForm::GetSysCodePage(std::string& text) const { text = ZbConverter->SysCodePage; }
void TZbForm::GetUICodePage(std::string& text) const { text = ZbConverter->UICodePage; }
std::string TZbForm::SysCodePage() const { return ZbConverter->SysCodePage; }
std::string TZbForm::UICodePage() const { return ZbConverter->UICodePage; }

void TZbForm::GetLangText(const std::string& section, const std::string& key, std::string& text, bool convertDefault,
                          const std::string& def) const {
    std::string fallback = convertDefault ? ZbConverter->ToUI(Variant(def)).ToString() : def;
    text = ReadLangMsg(LangController->DesignType(), section, key, fallback);
}

std::string TZbForm::LangText(const std::string& section, const std::string& key, const std::string& def,
                              bool convertDefault) const {
    std::string text;
    GetLangText(section, key, text, convertDefault, def);
    return text;
}

// SCAFFOLD: replaced by the glyph work.
void TZbForm::GiveDisabledGlyphs(TComponent&) {}
void MakeDisabledGlyph(TBitmap&) { throw Exception("MakeDisabledGlyph: not built yet"); }

}  // namespace zb
