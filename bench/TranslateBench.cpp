// Converting 1 MB of Simplified Chinese to Traditional: through the
// translator (the translation library loaded by name) and through OpenCC
// directly, in the same run, so the two rates can be compared.
#include <benchmark/benchmark.h>
#include <opencc/opencc.h>

#include "lang/TranslatorU.h"

#include <string>

namespace {

const std::string& ChineseText() {
    static const std::string text = [] {
        const std::string paragraph =
            "后台处理的作业在应用服务器的队列中排队，完成后系统会通知用户。"
            "请选择数据日期、海关手册编号和六种交易类型，然后按直接处理。"
            "软件把打印机、鼠标和内存的信息写入数据库，网络连接失败时记录日志。"
            "Caption 123 报表查询条件方案保存成功。\r\n";
        std::string s;
        while (s.size() < (1u << 20)) s += paragraph;
        return s;
    }();
    return text;
}

void BM_TranslatorGBToBig5(benchmark::State& state) {
    zb::TTranslator translator;
    // The library builds its converter at the first call; that is set-up, not rate.
    translator.GBToBig5("预热");
    const std::string& text = ChineseText();
    for (auto _ : state) benchmark::DoNotOptimize(translator.GBToBig5(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TranslatorGBToBig5)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenCCGBToBig5(benchmark::State& state) {
    opencc::SimpleConverter converter("s2twp.json");
    const std::string& text = ChineseText();
    for (auto _ : state) benchmark::DoNotOptimize(converter.Convert(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_OpenCCGBToBig5)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_TranslatorBig5ToGB(benchmark::State& state) {
    zb::TTranslator translator;
    const std::string text = translator.GBToBig5(ChineseText());
    translator.Big5ToGB("預熱");
    for (auto _ : state) benchmark::DoNotOptimize(translator.Big5ToGB(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TranslatorBig5ToGB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenCCBig5ToGB(benchmark::State& state) {
    opencc::SimpleConverter converter("tw2sp.json");
    const std::string text = opencc::SimpleConverter("s2twp.json").Convert(ChineseText());
    for (auto _ : state) benchmark::DoNotOptimize(converter.Convert(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_OpenCCBig5ToGB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
