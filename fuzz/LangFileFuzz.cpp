// Fuzz target for language files: arbitrary bytes loaded as a .Lng document
// and applied to a small form of every kind of component a file reaches, then
// searched for messages; every attribute name doubles as a property path.
#include "../tests/lang/LangFixtures.h"
#include "lang/LanguageController.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

using namespace zb;
using namespace zb::langtest;

std::unique_ptr<TDataModule, FreeObject> MakeForm() {
    std::unique_ptr<TDataModule, FreeObject> form(new TDataModule);
    form->SetName("f");
    auto* edit = new TTestEdit(form.get());
    edit->SetName("e");
    auto* combo = new TTestComboBox(form.get());
    combo->SetName("c");
    combo->Items()->SetText("a\r\nb\r\n");
    combo->SetItemIndex(1);
    auto* list = new TTestListView(form.get());
    list->SetName("l");
    list->AddColumn("x");
    list->AddItem("y");
    auto* tree = new TTestTreeView(list);
    tree->SetName("t");
    tree->AddNode("n");
    auto* grid = new TTestGrid(form.get());
    grid->SetName("g");
    grid->Columns()->Items.push_back(std::make_unique<TTestColumn>());
    return form;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        TReaderFactory::RegisterReader("TTestComboBox", [] { return std::make_unique<TCustomComboBoxRead>(); });
        return true;
    }();
    (void)registered;
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)ParsePathSegment(input);
    XmlDocument doc;
    if (!doc.LoadBytes(input)) return 0;
    auto form = MakeForm();
    TLangReader reader(doc);
    TStringList exclude;
    exclude.Add(" T ");
    reader.SetExcludeControls(exclude);
    reader.ReadComponent(form.get());
    for (const XmlNode& node : doc.SelectNodes("//*[@*]"))
        for (const XmlNode& attr : node.Attributes()) {
            (void)ApplyLangAttribute(*form, attr.NodeName(), attr.Text());
            (void)ReadLangMsg(doc, attr.NodeName(), "default");
        }
    (void)ReadLangMsg(doc, "Msg001", "default");
    return 0;
}
