// Published properties by name across a small class chain with every kind,
// and event handlers as values.
#include <gtest/gtest.h>

#include "platform/core/Component.h"
#include "platform/core/Published.h"
#include "platform/core/StringList.h"
#include "platform/core/TypInfo.h"

namespace zb {
namespace {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
const EnumNames kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};
const EnumNames kStyleNames = {"fsBold", "fsItalic", "fsUnderline"};

class TSample : public TComponent {
    ZB_CLASS(TSample, TComponent)

public:
    using TComponent::TComponent;
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }
    char Accel() const { return accel_; }
    void SetAccel(char c) { accel_ = c; }
    TAlignment Alignment() const { return align_; }
    void SetAlignment(TAlignment a) { align_ = a; }
    bool Checked() const { return checked_; }
    void SetChecked(bool b) { checked_ = b; }
    unsigned Style() const { return style_; }
    void SetStyle(unsigned s) { style_ = s; }
    double Ratio() const { return ratio_; }
    void SetRatio(double r) { ratio_ = r; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    TStringList* Lines() const { return lines_.get(); }
    void SetLines(TStringList* l) { lines_->Assign(l); }
    Variant Value() const { return value_; }
    void SetValue(const Variant& v) { value_ = v; }
    int Handle() const { return 42; }
    TNotifyEvent OnClick;

private:
    int width_ = 0;
    char accel_ = 'a';
    TAlignment align_ = TAlignment::taLeftJustify;
    bool checked_ = false;
    unsigned style_ = 0;
    double ratio_ = 0;
    std::string caption_;
    std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
    Variant value_;
};

class TDerived : public TSample {
    ZB_CLASS(TDerived, TSample)

public:
    using TSample::TSample;
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& h) { hint_ = h; }
    // Republished with another type name, as descendants narrow a property.
    const std::string& Text() const { return Caption(); }

private:
    std::string hint_;
};

ZB_PUBLISHED(TSample){
    prop::Integer("Width", &TSample::Width, &TSample::SetWidth),
    prop::Char("Accel", &TSample::Accel, &TSample::SetAccel),
    prop::Enum("Alignment", &TSample::Alignment, &TSample::SetAlignment, kAlignmentNames, "TAlignment"),
    prop::Bool("Checked", &TSample::Checked, &TSample::SetChecked),
    prop::Set("Style", &TSample::Style, &TSample::SetStyle, kStyleNames, "TFontStyles"),
    prop::Float("Ratio", &TSample::Ratio, &TSample::SetRatio),
    prop::String("Caption", &TSample::Caption, &TSample::SetCaption, "TCaption"),
    prop::Class("Lines", &TSample::Lines, &TSample::SetLines),
    prop::VariantProp("Value", &TSample::Value, &TSample::SetValue),
    prop::Integer("Handle", &TSample::Handle),
    prop::Event("OnClick", &TSample::OnClick),
};

ZB_PUBLISHED(TDerived){
    prop::String("Hint", &TDerived::Hint, &TDerived::SetHint),
    prop::String("Caption", &TDerived::Caption, &TDerived::SetCaption, "TDerivedCaption"),
};

TEST(ClassInfo, NamesAncestorsAndRegistry) {
    TDerived d;
    EXPECT_EQ(d.ClassName(), "TDerived");
    EXPECT_EQ(d.ClassType().AncestorNames(),
              (std::vector<std::string>{"TDerived", "TSample", "TComponent", "TPersistent", "TObject"}));
    EXPECT_TRUE(d.Is<TComponent>());
    EXPECT_TRUE(d.ClassType().InheritsFrom("tsample"));
    EXPECT_FALSE(TSample::StaticClassInfo().InheritsFrom(TDerived::StaticClassInfo()));
    EXPECT_EQ(FindClassInfo("tderived"), &TDerived::StaticClassInfo());
    EXPECT_EQ(FindClassInfo("TStringList"), &TStringList::StaticClassInfo());
    EXPECT_EQ(FindClassInfo("TNoSuchClass"), nullptr);
    TObject* o = &d;
    EXPECT_EQ(dyn_cast<TSample>(o), &d);
    EXPECT_EQ(dyn_cast<TStringList>(o), nullptr);
}

TEST(ClassInfo, LookupIgnoresCaseWalksTheChainAndLetsDescendantsOverride) {
    TDerived d;
    const PropInfo* width = GetPropInfo(&d, "wIdTh");
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->Name, "Width");
    EXPECT_EQ(GetPropInfo(&d, "NAME")->TypeName, "TComponentName");
    EXPECT_EQ(GetPropInfo(&d, "caption")->TypeName, "TDerivedCaption");
    EXPECT_EQ(GetPropInfo(&d, "Missing"), nullptr);
    EXPECT_EQ(GetPropInfo(&d, ""), nullptr);
    EXPECT_EQ(GetPropInfo(nullptr, "Width"), nullptr);
    // Each name once, ancestors first.
    const auto& all = d.ClassType().Properties();
    EXPECT_EQ(all.front()->Name, "Name");
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const PropInfo* p) { return p->Name == "Caption"; }), 1);
    EXPECT_EQ(all.back()->Name, "Hint");
}

TEST(ClassInfo, EveryKindThroughVariants) {
    TDerived d;
    struct Case {
        const char* name;
        Variant in;
        Variant out;
        TypeKind kind;
    };
    const Case cases[] = {
        {"Width", Variant(120), Variant(120), TypeKind::Integer},
        {"Width", Variant("35"), Variant(35), TypeKind::Integer},
        {"Accel", Variant("x"), Variant("x"), TypeKind::Char},
        {"Alignment", Variant("taCenter"), Variant("taCenter"), TypeKind::Enumeration},
        {"Alignment", Variant("TARIGHTJUSTIFY"), Variant("taRightJustify"), TypeKind::Enumeration},
        {"Alignment", Variant(0), Variant("taLeftJustify"), TypeKind::Enumeration},
        {"Checked", Variant(true), Variant(true), TypeKind::Enumeration},
        {"Checked", Variant("False"), Variant(false), TypeKind::Enumeration},
        {"Style", Variant("[fsBold,fsUnderline]"), Variant("fsBold,fsUnderline"), TypeKind::Set},
        {"Style", Variant(2), Variant("fsItalic"), TypeKind::Set},
        {"Ratio", Variant(1.5), Variant(1.5), TypeKind::Float},
        {"Caption", Variant::Wide("查询"), Variant("查询"), TypeKind::String},
        {"Value", VarArrayOf({Variant(1), Variant("a")}), VarArrayOf({Variant(1), Variant("a")}), TypeKind::Variant},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetPropValue(d, c.name, c.in);
        Variant got = GetPropValue(d, c.name);
        EXPECT_EQ(got.Type(), c.out.Type());
        EXPECT_TRUE(got == c.out) << got.ToJson();
        EXPECT_EQ(GetPropInfo(&d, c.name)->Kind, c.kind);
    }
    EXPECT_EQ(d.Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(d.Style(), 2u);
}

TEST(ClassInfo, RefusesWhatAPropertyCannotTake) {
    TSample s;
    const char* name = "Alignment";
    EXPECT_THROW(SetPropValue(s, name, Variant("taNowhere")), EPropertyError);
    EXPECT_THROW(SetOrdProp(s, *GetPropInfo(&s, name), 3), EPropertyError);
    EXPECT_THROW(SetPropValue(s, "Style", Variant("fsStrike")), EPropertyError);
    EXPECT_THROW(SetPropValue(s, "Width", Variant("wide")), EVariantError);
    EXPECT_THROW(SetPropValue(s, "Width", Variant(int64_t{1} << 40)), EPropertyError);
    EXPECT_THROW(SetPropValue(s, "Handle", Variant(1)), EPropertyError);  // read-only
    EXPECT_THROW(SetPropValue(s, "Missing", Variant(1)), EPropertyError);
    EXPECT_THROW(GetStrProp(s, *GetPropInfo(&s, "Width")), EPropertyError);
    EXPECT_THROW(GetPropValue(s, "OnClick"), EPropertyError);
    EXPECT_THROW(SetPropValue(s, "Lines", Variant(1234)), EPropertyError);  // no object from a number
    EXPECT_EQ(s.Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(s.Width(), 0);
}

TEST(ClassInfo, ObjectPropertiesCheckTheClass) {
    TSample s, other;
    const PropInfo& lines = *GetPropInfo(&s, "Lines");
    EXPECT_EQ(lines.TypeName, "TStringList");
    TStringList source;
    source.SetText("a\r\nb");
    SetObjectProp(s, lines, &source);
    EXPECT_EQ(s.Lines()->Text(), "a\r\nb\r\n");
    EXPECT_EQ(GetObjectProp(s, lines), s.Lines());
    EXPECT_THROW(SetObjectProp(s, lines, &other), EPropertyError);
}

struct Receiver {
    std::vector<std::string> calls;
    void Clicked(TObject* sender) { calls.push_back("clicked:" + (sender ? sender->ClassName() : "nil")); }
    void Other(TObject*) { calls.push_back("other"); }
};

TEST(Events, SaveCompareRestoreAndCall) {
    Receiver r;
    TSample s;
    EXPECT_FALSE(s.OnClick.Assigned());
    s.OnClick(&s);  // unassigned: nothing happens

    s.OnClick = Handler<&Receiver::Clicked>(&r);
    EXPECT_TRUE(s.OnClick == Handler<&Receiver::Clicked>(&r));
    EXPECT_FALSE(s.OnClick == Handler<&Receiver::Other>(&r));
    Receiver r2;
    EXPECT_FALSE(s.OnClick == Handler<&Receiver::Clicked>(&r2));

    // Save the halves through the property, install another handler, restore.
    const PropInfo& onClick = *GetPropInfo(&s, "onclick");
    TMethod saved = GetMethodProp(s, onClick);
    EXPECT_TRUE(saved.Assigned());
    int lambdaCalls = 0;
    TNotifyEvent check = [&](TObject*) { ++lambdaCalls; };
    TNotifyEvent copy = check;
    EXPECT_TRUE(copy == check);
    EXPECT_FALSE(check == TNotifyEvent([&](TObject*) { ++lambdaCalls; }));
    SetMethodProp(s, onClick, check.ToMethod());
    s.OnClick(&s);
    EXPECT_EQ(lambdaCalls, 1);
    SetMethodProp(s, onClick, saved);
    s.OnClick(&s);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"clicked:TSample"}));

    SetMethodProp(s, onClick, TMethod{});
    EXPECT_FALSE(s.OnClick.Assigned());
}

TEST(Events, HalvesOfAnotherEventTypeAreRefused) {
    using TKeyEvent = TEvent<void(TObject*, int&)>;
    TKeyEvent key = [](TObject*, int& k) { k = 0; };
    TSample s;
    EXPECT_THROW(SetMethodProp(s, *GetPropInfo(&s, "OnClick"), key.ToMethod()), EPropertyError);
    EXPECT_FALSE(s.OnClick.Assigned());
}

TEST(Events, LambdaHandlerOutlivesItsFirstEvent) {
    TMethod m;
    int calls = 0;
    {
        TNotifyEvent e = [&calls](TObject*) { ++calls; };
        m = e.ToMethod();
    }
    TNotifyEvent::FromMethod(m)(nullptr);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace zb
