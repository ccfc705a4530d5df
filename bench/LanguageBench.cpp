// Applying a language file of 500 elements to a form of 500 components, the
// way a form is translated when it is shown: open the file, read the tree.
#include <benchmark/benchmark.h>

#include "../tests/lang/LangFixtures.h"
#include "lang/LanguageController.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace zb;
using namespace zb::langtest;

constexpr int kComponents = 500;

std::unique_ptr<TDataModule, FreeObject> MakeForm() {
    std::unique_ptr<TDataModule, FreeObject> form(new TDataModule);
    form->SetName("frmBench");
    for (int i = 0; i < kComponents; ++i) {
        TComponent* c;
        if (i % 10 == 0) {
            auto* combo = new TTestComboBox(form.get());
            combo->Items()->SetText("一\r\n二\r\n三\r\n");
            combo->SetItemIndex(1);
            c = combo;
        } else {
            c = new TTestEdit(form.get());
        }
        c->SetName("c" + std::to_string(i));
    }
    return form;
}

std::string MakeFile() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TfrmBench Caption=\"Bench\">\n";
    for (int i = 0; i < kComponents; ++i) {
        const std::string n = std::to_string(i);
        if (i % 10 == 0)
            xml += "  <c" + n + " Items_0=\"Sunday " + n + "\" Items_2=\"Tuesday\"/>\n";
        else
            xml += "  <c" + n + " Caption=\"Caption " + n + "\" Hint=\"提示 " + n +
                   "\" Font.Name=\"MingLiU\" Color=\"clBtnFace\"/>\n";
    }
    return xml + "</TfrmBench>\n";
}

void BM_ApplyLanguageFile(benchmark::State& state) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "zb_LanguageBench.Lng";
    std::ofstream(file, std::ios::binary) << MakeFile();
    auto form = MakeForm();
    TReaderFactory::RegisterReader("TTestComboBox", [] { return std::make_unique<TCustomComboBoxRead>(); });
    TLanguageController controller;
    for (auto _ : state) {
        controller.SetFileName(file.string());
        controller.SetActive(true);
        controller.Reader().ReadComponent(form.get());
        controller.SetActive(false);
    }
    std::filesystem::remove(file);
    if (static_cast<TTestEdit*>(form->Components(1))->Caption() != "Caption 1") state.SkipWithError("not applied");
}
BENCHMARK(BM_ApplyLanguageFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
