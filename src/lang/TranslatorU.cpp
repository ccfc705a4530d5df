#include "lang/TranslatorU.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Published.h"

namespace zb {

ZB_PUBLISHED(TTranslator){};

TTranslator::TTranslator(std::string_view libraryName) : libraryName_(libraryName) {
    handle_ = LoadLibrary(libraryName_);
    if (!handle_) throw Exception("Load Library " + libraryName_ + " Error!");
    gbToBig5_ = GetProc<std::remove_pointer_t<ZbConvertProc>>(handle_, "GBtoBIG5");
    big5ToGb_ = GetProc<std::remove_pointer_t<ZbConvertProc>>(handle_, "BIG5toGB");
    getBig5Data_ = GetProc<std::remove_pointer_t<ZbLoadDataProc>>(handle_, "GetBIG5Data");
    getGbData_ = GetProc<std::remove_pointer_t<ZbLoadDataProc>>(handle_, "GetGBData");
    saveOrder_ = GetProc<std::remove_pointer_t<ZbSaveOrderProc>>(handle_, "SaveOrder");
    if (!gbToBig5_ || !big5ToGb_) {
        // The destructor does not run for a constructor that throws.
        Unload();
        throw Exception("Get Library Procedure Address Error!");
    }
}

TTranslator::~TTranslator() { Unload(); }

void TTranslator::Unload() {
    if (handle_) FreeLibrary(handle_);
    handle_ = nullptr;
    gbToBig5_ = big5ToGb_ = nullptr;
    getBig5Data_ = getGbData_ = nullptr;
    saveOrder_ = nullptr;
}

std::string TTranslator::GBToBig5(const std::string& text) const { return Convert(gbToBig5_, "GBtoBIG5", text); }

std::string TTranslator::Big5ToGB(const std::string& text) const { return Convert(big5ToGb_, "BIG5toGB", text); }

std::string TTranslator::Convert(ZbConvertProc proc, const char* entry, const std::string& text) const {
    if (!proc) return text;
    // Room for the usual growth (a few phrases get longer), so one call is enough.
    std::string out(text.size() * 2 + 64, '\0');
    size_t n = proc(text.data(), text.size(), out.data(), out.size());
    if (n != ZB_CONVERT_FAILED && n > out.size()) {
        out.resize(n);
        n = proc(text.data(), text.size(), out.data(), out.size());
        if (n > out.size()) n = ZB_CONVERT_FAILED;  // the library answered differently twice
    }
    if (n == ZB_CONVERT_FAILED) throw Exception(libraryName_ + ": " + entry + " cannot convert the text");
    out.resize(n);
    return out;
}

}  // namespace zb
