// zbinfo: shows what the platform layer sees on this machine — the registry
// file and its suite keys, the system code page, a GBK/BIG5 round trip and the
// Variant form of a login array — so a site can check its set-up at a glance.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/Variant.h"
#include "platform/os/Registry.h"
#include "platform/os/SysInfo.h"

namespace {

void PrintUsage() {
    std::puts(
        "usage: zbinfo [--help]\n"
        "Prints the registry file in use and the suite's keys in it, the system code page,\n"
        "a round trip of Chinese text through code pages 936 and 950, and the JSON form of\n"
        "a login array as the host hands it to a job.\n"
        "Environment: ZB_REGISTRY (registry file), ZB_SYSTEM_CODEPAGE (936, 950, 437).");
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

void ShowRegistry() {
    std::printf("registry file: %s\n", zb::RegistryFileName().string().c_str());
    zb::TRegistry reg(zb::HKEY_LOCAL_MACHINE);
    for (const char* key : {"Software\\ZEB\\Orkel", "Software\\Plor\\Pelwin"}) {
        if (!reg.OpenKeyReadOnly(key)) {
            std::printf("  HKEY_LOCAL_MACHINE\\%s: (absent)\n", key);
            continue;
        }
        std::printf("  HKEY_LOCAL_MACHINE\\%s:\n", key);
        for (const std::string& name : reg.GetValueNames())
            std::printf("    %s=%s\n", name.c_str(), reg.ReadString(name).c_str());
        reg.CloseKey();
    }
}

void ShowCodePages() {
    std::printf("system code page: %d\n", zb::SystemCodePage());
    const std::string samples[] = {"海关数据采集", "海關資料擷取"};
    for (const std::string& text : samples)
        for (int cp : {zb::CP_GBK, zb::CP_BIG5}) {
            std::string bytes = zb::EncodeToCodePage(text, cp);
            std::string back = zb::DecodeFromCodePage(bytes, cp);
            std::printf("  %s in %d: %zu bytes [%s] -> %s%s\n", text.c_str(), cp, bytes.size(), Hex(bytes).c_str(),
                        back.c_str(), back == text ? "" : "  (not representable)");
        }
}

void ShowLoginArray() {
    zb::Variant login = zb::VarArrayOf({zb::Variant("ADMIN"), zb::Variant("01"), zb::Variant("ZB01"),
                                        zb::Variant(0), zb::Variant()});
    std::printf("login array: %s\n", login.ToJson().c_str());
    std::printf("computer: %s, user: %s, temporary folder: %s\n", zb::GetComputerName().c_str(),
                zb::GetUserName().c_str(), zb::GetTempPath().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            PrintUsage();
            return 0;
        }
        std::fprintf(stderr, "zbinfo: unknown option %s (see --help)\n", argv[i]);
        return 2;
    }
    try {
        ShowRegistry();
        ShowCodePages();
        ShowLoginArray();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zbinfo: %s\n", e.what());
        return 1;
    }
    return 0;
}
