// TTranslator: the binding of the translation library "Zblanguage", loaded by
// name, that converts Chinese texts between Simplified (GB) and Traditional
// (BIG5) characters. The code converter owns one while the screen needs it.
#pragma once

#include <string>
#include <string_view>

#include "lang/ZblanguageApi.h"
#include "platform/core/Object.h"
#include "platform/os/Library.h"

namespace zb {

class TTranslator : public TObject {
    ZB_CLASS(TTranslator, TObject)

public:
    static constexpr const char* DefaultLibraryName = "Zblanguage.dll";

    // Loads the library and looks its entries up. Throws Exception
    // "Load Library <name> Error!" when it cannot be loaded and
    // "Get Library Procedure Address Error!" when either conversion entry is
    // missing; the library is unloaded again before the second one leaves.
    explicit TTranslator(std::string_view libraryName = DefaultLibraryName);
    ~TTranslator() override;

    // The library's conversions of UTF-8 text; the text comes back unchanged
    // when the entry is absent. Throws Exception when the library reports
    // that it cannot convert.
    std::string GBToBig5(const std::string& text) const;
    std::string Big5ToGB(const std::string& text) const;

    HMODULE Handle() const { return handle_; }
    // The optional entries, looked up but not used by the system itself.
    bool HasGetBIG5Data() const { return getBig5Data_ != nullptr; }
    bool HasGetGBData() const { return getGbData_ != nullptr; }
    bool HasSaveOrder() const { return saveOrder_ != nullptr; }

private:
    std::string Convert(ZbConvertProc proc, const char* entry, const std::string& text) const;
    void Unload();

    std::string libraryName_;
    HMODULE handle_ = nullptr;
    ZbConvertProc gbToBig5_ = nullptr;
    ZbConvertProc big5ToGb_ = nullptr;
    ZbLoadDataProc getBig5Data_ = nullptr;
    ZbLoadDataProc getGbData_ = nullptr;
    ZbSaveOrderProc saveOrder_ = nullptr;
};

}  // namespace zb
