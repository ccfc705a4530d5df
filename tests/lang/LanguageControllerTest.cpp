// Language files applied to component trees: property paths, indexes beyond
// a list, excluded components, class chains, the controller's errors and the
// message lookup.
#include "lang/LanguageController.h"

#include "LangFixtures.h"
#include "platform/core/CodePage.h"
#include "platform/core/IntConsts.h"
#include "platform/core/TypInfo.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zb {
namespace {

using namespace langtest;

class TfrmLangBase : public TDataModule {
    ZB_CLASS(TfrmLangBase, TDataModule)
public:
    explicit TfrmLangBase(TComponent* owner = nullptr) : TDataModule(owner) {
        SetName("frmLang");
        edName = New<TTestEdit>("edName");
        edCode = New<TTestEdit>("edCode");
        memo = New<TTestEdit>("mmNote");
        cbo = New<TTestComboBox>("cboDayofWeek");
        lst = New<TTestListView>("lstCondition");
        tree = New<TTestTreeView>("tvPlans");
        grid = New<TTestGrid>("grdUsers");
        edInner = new TTestEdit(edName);  // owned by an excluded component in one test
        edInner->SetName("edInner");
        cbo->Items()->SetText("一\r\n二\r\n");
        cbo->SetItemIndex(1);
        lst->AddColumn("代码");
        lst->AddColumn("名称");
        lst->AddItem("甲").SubItems()->Add("乙");
        tree->AddNode("根");
        tree->AddNode("叶");
        for (int i = 0; i < 2; ++i) grid->Columns()->Items.push_back(std::make_unique<TTestColumn>());
    }
    template <class T>
    T* New(const char* name) {
        T* c = new T(this);
        c->SetName(name);
        return c;
    }
    TTestEdit *edName, *edCode, *memo, *edInner;
    TTestComboBox* cbo;
    TTestListView* lst;
    TTestTreeView* tree;
    TTestGrid* grid;
};

class TfrmLangChild : public TfrmLangBase {
    ZB_CLASS(TfrmLangChild, TfrmLangBase)
public:
    using TfrmLangBase::TfrmLangBase;
};

ZB_PUBLISHED(TfrmLangBase){};
ZB_PUBLISHED(TfrmLangChild){};

using FormPtr = std::unique_ptr<TfrmLangChild, FreeObject>;
FormPtr NewForm() { return FormPtr(new TfrmLangChild); }

XmlDocument Doc(const std::string& xml) {
    XmlDocument d;
    EXPECT_TRUE(d.LoadXML(xml)) << d.ParseErrorReason();
    return d;
}

void Read(TComponent& form, const std::string& xml, const std::vector<std::string>& exclude = {}) {
    TLangReader reader(Doc(xml));
    TStringList names;
    for (const auto& n : exclude) names.Add(n);
    reader.SetExcludeControls(names);
    reader.ReadComponent(&form);
}

// Installs a language folder below a temporary client folder for one test.
class LangFolder {
public:
    explicit LangFolder(const std::string& codePage = "950", const std::string& code = "CHT") : code_(code) {
        std::filesystem::create_directories(dir_.Path() / "MultiLanguage" / code);
        base_ = dir_.Path().string() + "/";
        previous_ = SetLangProfileSource([base = base_, codePage](TDesignType type) {
            return TLangProfile{type == TDesignType::dtClient ? base : std::string("/nonexistent/"), codePage};
        });
        folder_ = base_ + "MultiLanguage/" + code + "/";
    }
    ~LangFolder() { SetLangProfileSource(previous_); }
    const std::string& Folder() const { return folder_; }
    std::string Write(const std::string& file, const std::string& content) const {
        return dir_.Write("MultiLanguage/" + code_ + "/" + file, content).string();
    }

private:
    std::string code_;
    test::TempDir dir_;
    std::string base_, folder_;
    TLangProfileSource previous_;
};

TEST(LangPath, SegmentsSplitAtTheFirstUnderscore) {
    struct Case {
        const char* text;
        const char* name;
        int index;
    } cases[] = {
        {"Items_3", "Items", 3}, {"Columns_0", "Columns", 0}, {"Caption", "Caption", -1},
        {"Items_", "Items", -1}, {"Items_x", "Items", -1},   {"Items_-1", "Items", -1},
        {"My_Prop_2", "My", -1}, {"Items_ 7 ", "Items", 7},  {"Items_99999999999", "Items", -1},
    };
    for (const Case& c : cases) {
        TPathSegment s = ParsePathSegment(c.text);
        EXPECT_EQ(s.Name, c.name) << c.text;
        EXPECT_EQ(s.Index, c.index) << c.text;
    }
}

TEST(LangReader, AppliesPathsOfEveryKind) {
    FormPtr f = NewForm();
    Read(*f, R"(<?xml version="1.0" encoding="UTF-8"?>
<TfrmLangChild Caption="Job form" Color="clBtnFace">
  <edName Caption="Name" Hint="Type the name" Font.Name="MingLiU" Font.Size="12"
          Font.Style=" fsBold,fsItalic " Alignment=" taCenter" Checked="True" Width="80"
          Color="clRed" Cursor="crHourGlass" Font.Color="255" NoSuchProp="x" Font.NoSuch.Deeper="y"/>
  <group><edCode Caption.  ="Code" Hint="h" Width="wide" Alignment="2"/></group>
  <mmNote Lines_1="second" Lines_3="fourth"/>
</TfrmLangChild>)");
    EXPECT_EQ(f->Caption(), "Job form");
    EXPECT_EQ(f->Color(), static_cast<int>(0xFF00000F));
    const TTestEdit& e = *f->edName;
    EXPECT_EQ(e.Caption(), "Name");
    EXPECT_EQ(e.Hint(), "Type the name");
    EXPECT_EQ(e.Font()->Name(), "MingLiU");
    EXPECT_EQ(e.Font()->Size(), 12);
    EXPECT_EQ(e.Font()->Style(), 3u);
    EXPECT_EQ(e.Alignment(), 2);
    EXPECT_TRUE(e.Checked());
    EXPECT_EQ(e.Width(), 80);
    EXPECT_EQ(e.Color(), 0x0000FF);
    EXPECT_EQ(e.Cursor(), -11);
    EXPECT_EQ(e.Font()->Color(), 255);
    // A value a property does not take skips that attribute only; a segment
    // followed only by blanks is the last one.
    EXPECT_EQ(f->edCode->Caption(), "Code");
    EXPECT_EQ(f->edCode->Hint(), "h");
    EXPECT_EQ(f->edCode->Width(), 0);
    EXPECT_EQ(f->edCode->Alignment(), 2);
    EXPECT_EQ(f->memo->Lines()->ToVector(), (std::vector<std::string>{"", "second", "", "fourth"}));
}

TEST(LangReader, ComboItemsGrowAndKeepTheSelection) {
    FormPtr f = NewForm();
    TReaderFactory::RegisterReader("TTestComboBox", [] { return std::make_unique<TCustomComboBoxRead>(); });
    Read(*f, R"(<f><cboDayofWeek Items_5="六" Items="ignored"/></f>)");
    EXPECT_EQ(f->cbo->Items()->ToVector(), (std::vector<std::string>{"一", "二", "", "", "", "六"}));
    EXPECT_EQ(f->cbo->ItemIndex(), 1);

    // Without the combo reader the selection is lost, which is why it exists.
    TReaderFactory::UnregisterReader("TTestComboBox");
    Read(*f, R"(<f><cboDayofWeek Items_0="日"/></f>)");
    EXPECT_EQ(f->cbo->Items()->Strings(0), "日");
    EXPECT_EQ(f->cbo->ItemIndex(), -1);
}

TEST(LangReader, HugeListIndexesAreRefused) {
    FormPtr f = NewForm();
    Read(*f, R"(<f><mmNote Lines_99999999="x" Lines_100000="y" Lines_2="z"/></f>)");
    EXPECT_EQ(f->memo->Lines()->Count(), 3);
}

TEST(LangReader, ColumnsItemsNodesAndCollections) {
    FormPtr f = NewForm();
    Read(*f, R"(<f>
  <lstCondition Columns_1.Caption="Name" Columns_0.Width="99" Items_0.Caption="A" Items_0.SubItems_0="B"
                Items_7.Caption="beyond" Columns_5.Caption="beyond" Items.Items_0.Caption="A2"/>
  <tvPlans Items_1.Text="Leaf" Items_9.Text="beyond"/>
  <grdUsers Columns_1.Caption="Second" Columns.Items_0.Caption="First" Columns_4.Caption="beyond"/>
</f>)");
    EXPECT_EQ(f->lst->Columns[0]->Width(), 99);
    EXPECT_EQ(f->lst->Columns[1]->Caption(), "Name");
    // The list-items object stands for its own list: "Items.Items_0" reaches no item.
    EXPECT_EQ(f->lst->Items()->Items[0]->Caption(), "A");
    EXPECT_EQ(f->lst->Items()->Items[0]->SubItems()->Strings(0), "乙");  // not a list segment: stops the walk
    // An index beyond the list drops the attribute rather than touching the list view.
    EXPECT_EQ(f->lst->Caption(), "");
    EXPECT_EQ(f->tree->Nodes[0]->Text(), "根");
    EXPECT_EQ(f->tree->Nodes[1]->Text(), "Leaf");
    EXPECT_EQ(f->grid->Columns()->Items[0]->Caption(), "First");
    EXPECT_EQ(f->grid->Columns()->Items[1]->Caption(), "Second");
}

TEST(LangReader, ElementsByExactNameFirstInDocumentOrder) {
    FormPtr f = NewForm();
    Read(*f, R"(<f><EDNAME Caption="wrong case"/><a><b><edName Caption="first"/></b></a><edName Caption="second"/></f>)");
    EXPECT_EQ(f->edName->Caption(), "first");
    // The root is no form element for a component that is not a form.
    TTestEdit loose;
    loose.SetName("loose");
    Read(loose, R"(<loose Caption="by name"/>)");
    EXPECT_EQ(loose.Caption(), "by name");
    TTestEdit unnamed;
    Read(unnamed, R"(<x Caption="root"/>)");
    EXPECT_EQ(unnamed.Caption(), "");
}

TEST(LangReader, ExcludedComponentKeepsItsTextsButItsChildrenAreRead) {
    FormPtr f = NewForm();
    f->edName->SetCaption("原文");
    Read(*f, R"(<f><edName Caption="Name"/><edInner Caption="Inner"/><edCode Caption="Code"/></f>)", {" EDNAME "});
    EXPECT_EQ(f->edName->Caption(), "原文");
    EXPECT_EQ(f->edInner->Caption(), "Inner");
    EXPECT_EQ(f->edCode->Caption(), "Code");
}

TEST(LangReader, LoadEventsSurroundEveryElement) {
    FormPtr f = NewForm();
    TLangReader reader(Doc(R"(<f Caption="C"><edCode Caption="Code"/><edName/></f>)"));
    std::vector<std::string> log;
    reader.BeforeLoadComponent = [&](TComponent* c, const XmlNode& n) {
        log.push_back("before " + c->Name() + " " + n.NodeName() + " " + (c->Name() == "edCode" ? f->edCode->Caption() : ""));
    };
    reader.AfterLoadComponent = [&](TComponent* c, const XmlNode&) {
        log.push_back("after " + c->Name() + (c->Name() == "edCode" ? " " + f->edCode->Caption() : ""));
    };
    reader.ReadComponent(f.get());
    // Components in the order they are owned, not the order of the file.
    EXPECT_EQ(log, (std::vector<std::string>{"before frmLang f ", "after frmLang", "before edName edName ",
                                             "after edName", "before edCode edCode ", "after edCode Code"}));
}

TEST(LangReader, HandlerFreeingAComponentWhileReading) {
    FormPtr f = NewForm();
    TLangReader reader(Doc(R"(<f><edName Caption="Name"/><edCode Caption="Code"/><mmNote Caption="Note"/></f>)"));
    reader.AfterLoadComponent = [&](TComponent* c, const XmlNode&) {
        if (c == f->edName) TObject::FreeAndNil(f->edCode);
    };
    reader.ReadComponent(f.get());
    EXPECT_EQ(f->edCode, nullptr);
    EXPECT_EQ(f->memo->Caption(), "Note");
}

TEST(LanguageController, ErrorsOfOpeningAndReading) {
    TLanguageController c;
    try {
        c.Reader();
        FAIL();
    } catch (const LanguageControllerError& e) {
        EXPECT_STREQ(e.what(), "No active LanguageController!");
    }
    try {
        c.SetActive(true);
        FAIL();
    } catch (const LanguageControllerError& e) {
        EXPECT_STREQ(e.what(), "Cannot Find File !");
    }
    test::TempDir dir;
    c.SetFileName((dir.Path() / "Missing.Lng").string());
    EXPECT_THROW(c.SetActive(true), LanguageControllerError);
    c.SetFileName(dir.Write("Broken.Lng", "<f><edName Caption='x'></f>").string());
    try {
        c.SetActive(true);
        FAIL();
    } catch (const LanguageControllerError& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
    }
    EXPECT_FALSE(c.Active());
    EXPECT_EQ(c.Document(), nullptr);
    EXPECT_THROW(c.Reader(), LanguageControllerError);
}

TEST(LanguageController, OpensAndClosesWithEventsAndCopiesExclusions) {
    test::TempDir dir;
    FormPtr f = NewForm();
    TLanguageController c(f.get());
    c.SetName("LangController");
    std::vector<std::string> log;
    c.BeforeOpen = [&](TObject*) { log.push_back("BeforeOpen"); };
    c.AfterOpen = [&](TObject*) { log.push_back("AfterOpen"); };
    c.BeforeClose = [&](TObject*) { log.push_back("BeforeClose"); };
    c.AfterClose = [&](TObject*) { log.push_back("AfterClose"); };
    int loads = 0;
    c.AfterLoadComponent = [&](TComponent*, const XmlNode&) { ++loads; };
    // The file is in GB2312, as the suite's files are.
    const std::string xml = "<?xml version=\"1.0\" encoding=\"GB2312\"?><f><edName Caption=\"名称\"/><edCode Caption=\"代码\"/></f>";
    c.SetFileName(dir.Write("TfrmX.Lng", EncodeToCodePage(xml, 936)).string());
    c.SetActive(true);
    ASSERT_TRUE(c.Active());
    c.ExcludeControls()->Add("edCode");  // after opening: reaches the reader
    c.Reader().ReadComponent(f.get());
    EXPECT_EQ(f->edName->Caption(), "名称");
    EXPECT_EQ(f->edCode->Caption(), "");
    EXPECT_EQ(loads, 2);  // the form's root element and edName
    c.SetActive(true);  // already active: nothing happens
    c.SetFileName(c.FileName());
    EXPECT_TRUE(c.Active());
    c.SetFileName(dir.Write("TfrmY.Lng", "<f/>").string());
    EXPECT_FALSE(c.Active());
    EXPECT_EQ(log, (std::vector<std::string>{"BeforeOpen", "AfterOpen", "BeforeClose", "AfterClose"}));
}

TEST(LanguageController, ActiveRequestedWhileLoadingWaitsForLoaded) {
    test::TempDir dir;
    TLanguageController c;
    c.SetFileName(dir.Write("A.Lng", "<f/>").string());
    c.SetLoading(true);
    SetPropValue(c, "Active", Variant(true));
    EXPECT_FALSE(c.Active());
    c.SetLoading(false);
    c.Loaded();
    EXPECT_TRUE(c.Active());
}

TEST(LanguageFolder, CodePagesMapToLanguageFolders) {
    test::TempDir dir;
    const std::string base = dir.Path().string();
    for (const char* code : {"CHS", "CHT", "ENG"}) std::filesystem::create_directories(dir.Path() / "MultiLanguage" / code);
    EXPECT_EQ(LanguageFolder(base, "936"), base + "/MultiLanguage/CHS/");
    EXPECT_EQ(LanguageFolder(base + "/", "950"), base + "/MultiLanguage/CHT/");
    EXPECT_EQ(LanguageFolder(base, "437"), base + "/MultiLanguage/ENG/");
    EXPECT_EQ(LanguageFolder(base, "1252"), "");
    EXPECT_EQ(LanguageFolder(base + "/none", "936"), "");
}

TEST(ZbLangController, PackageNamesGiveFilesInTheLanguageFolder) {
    LangFolder folder;
    TZbLangController c;
    folder.Write("TfrmLangBase.Lng", "<f/>");
    c.SetLangPackageName("TfrmLangBase");
    EXPECT_EQ(c.FileName(), folder.Folder() + "TfrmLangBase.Lng");
    c.SetActive(true);
    c.SetLangPackageName("TfrmLangBase");  // the same name leaves it active
    EXPECT_TRUE(c.Active());
    c.SetLangPackageName("TfrmOther");
    EXPECT_FALSE(c.Active());
    // The server profile has no folder here: the name is taken as it is.
    c.SetDesignType(TDesignType::dtServer);
    c.SetLangPackageName("TfrmLangBase");
    EXPECT_EQ(c.FileName(), "TfrmLangBase.Lng");
}

TEST(ZbLangController, CodePageWithoutLanguageUsesTheNameAsGiven) {
    LangFolder folder("1252", "CHT");
    TZbLangController c;
    c.SetLangPackageName("TfrmLangBase");
    EXPECT_EQ(c.FileName(), "TfrmLangBase.Lng");
}

TEST(ZbLangController, MoreDerivedFileOverridesItsAncestors) {
    LangFolder folder;
    folder.Write("TfrmLangBase.Lng", R"(<f Caption="Base"><edName Caption="base name"/><edCode Caption="base code"/></f>)");
    folder.Write("TfrmLangChild.Lng", R"(<f><edName Caption="child name"/></f>)");
    folder.Write("TDataModule.Lng", R"(<f Caption="not a file of the form's own classes"/>)");
    FormPtr f = NewForm();
    TZbLangController* c = new TZbLangController(f.get());
    c->SetName("LangController");
    ApplyLanguageFiles(*c, *f);
    EXPECT_EQ(f->Caption(), "Base");
    EXPECT_EQ(f->edName->Caption(), "child name");
    EXPECT_EQ(f->edCode->Caption(), "base code");
    EXPECT_EQ(c->FileName(), folder.Folder() + "TfrmLangChild.Lng");
}

TEST(ReadLangMsg, MessagesByNameWithDefaults) {
    LangFolder folder;
    folder.Write("TfrmBaseGene.Lng", R"(<root><Msgs><Msg001 Msg="Saved"/><Msg002 Text="no Msg"/></Msgs><Msg003 Msg=""/></root>)");
    folder.Write("Broken.Lng", "<root><Msg001 Msg='x'>");
    struct Case {
        const char* file;
        const char* name;
        const char* expected;
    } cases[] = {
        {"TfrmBaseGene", "Msg001", "Saved"},   {"TfrmBaseGene", "Msg002", "default"},
        {"TfrmBaseGene", "Msg003", ""},        {"TfrmBaseGene", "Msg999", "default"},
        {"NoSuchFile", "Msg001", "default"},   {"Broken", "Msg001", "default"},
        {"TfrmBaseGene", "Msg001 | //Msg002", "default"}, {"TfrmBaseGene", "", "default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadLangMsg(TDesignType::dtClient, c.file, c.name, "default"), c.expected) << c.file << " " << c.name;
}

}  // namespace
}  // namespace zb
