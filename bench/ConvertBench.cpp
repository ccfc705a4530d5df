// Converting a job-parameter array holding 1 MB of Simplified Chinese to
// Traditional through the code converter, and the same texts through OpenCC
// directly, in the same run, so the two rates can be compared.
#include <benchmark/benchmark.h>
#include <opencc/opencc.h>

#include "lang/CodeConverter.h"

#include <string>
#include <vector>

namespace {

// 1 MB of texts as parameters are: a flat list of fields and a two-column
// table of rows, each text a few hundred bytes.
const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = [] {
        const std::string paragraph =
            "后台处理的作业在应用服务器的队列中排队，完成后系统会通知用户。"
            "请选择数据日期、海关手册编号和六种交易类型，然后按直接处理。"
            "软件把打印机、鼠标和内存的信息写入数据库，网络连接失败时记录日志。";
        std::vector<std::string> v;
        std::size_t total = 0;
        for (int i = 0; total < (1u << 20); ++i) {
            v.push_back(paragraph + std::to_string(i));
            total += v.back().size();
        }
        return v;
    }();
    return texts;
}

zb::Variant Parameters() {
    const auto& texts = Texts();
    const std::size_t half = texts.size() / 2;
    std::vector<zb::Variant> fields;
    for (std::size_t i = 0; i < half; ++i) fields.emplace_back(texts[i]);
    const auto rows = static_cast<std::int32_t>((texts.size() - half + 1) / 2);
    zb::Variant table = zb::VarArrayCreate({0, 1, 0, rows - 1});
    std::size_t k = half;
    for (std::int32_t r = 0; r < rows; ++r)
        for (std::int32_t c = 0; c < 2; ++c) table.At({c, r}) = k < texts.size() ? zb::Variant(texts[k++]) : zb::Variant(zb::Null);
    return zb::VarArrayOf({zb::VarArrayOf(std::move(fields)), table});
}

std::int64_t Bytes() {
    std::int64_t n = 0;
    for (const auto& t : Texts()) n += static_cast<std::int64_t>(t.size());
    return n;
}

void BM_ConverterToUI(benchmark::State& state) {
    zb::TConverterProfile profile;
    profile.UICodePage = "950";
    profile.UIConvertMode = 2;
    zb::TCodeConverter converter(nullptr, profile);
    converter.GBToBig5("预热");  // the library builds its converter at the first call
    const zb::Variant params = Parameters();
    for (auto _ : state) benchmark::DoNotOptimize(converter.ToUI(params));
    state.SetBytesProcessed(state.iterations() * Bytes());
}
BENCHMARK(BM_ConverterToUI)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenCCSameTexts(benchmark::State& state) {
    opencc::SimpleConverter converter("s2twp.json");
    const auto& texts = Texts();
    for (auto _ : state)
        for (const auto& t : texts) benchmark::DoNotOptimize(converter.Convert(t));
    state.SetBytesProcessed(state.iterations() * Bytes());
}
BENCHMARK(BM_OpenCCSameTexts)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
