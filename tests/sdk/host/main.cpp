// Loads the installed plug-in the way a client shell does and checks what an
// empty controller answers. Prints one line per check and a closing count.
#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <vtaj52c/DLLBaseCtrller.h>

namespace {
int passed = 0, failed = 0;
void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    ++(ok ? passed : failed);
}
}  // namespace

int main() {
    void* lib = dlopen(VTAJ52C_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        std::printf("cannot load %s: %s\n", VTAJ52C_PLUGIN, dlerror());
        return 1;
    }
    auto get = reinterpret_cast<GetControllerFunc>(dlsym(lib, "GetController"));
    Check(get != nullptr, "GetController exported");
    if (!get) return 1;
    {
        std::unique_ptr<zb::TDLLBaseController> a(get()), b(get());
        Check(a && b && a.get() != b.get(), "two distinct controllers");
        Check(a->RunModal().ToInt() == 2, "RunModal without a form is 2");
        zb::Variant values;
        Check(a->GetResults(values) == -1, "GetResults without a form is -1");
        Check(a->IsClosed(), "IsClosed without a form");
        Check(a->SetParam(4, zb::Variant(1)) == -1, "SetParam with code 4 refused");
        std::vector<std::int32_t> codes;
        zb::TObject* sender = nullptr;
        a->OnNotify = [&](std::int32_t code, zb::TObject* s) {
            codes.push_back(code);
            sender = s;
        };
        a->DoExtra(b.get());
        Check(codes == std::vector<std::int32_t>{320} && sender == a.get(), "slot 15 notifies 320 from the controller");
        try {
            a->OpenJob(zb::VarArrayOf({zb::Variant("ADMIN"), zb::Variant("01"), zb::Variant("ZB01"), zb::Variant(0),
                                       zb::Variant()}));
            Check(false, "OpenJob raises without a job form");
        } catch (const zb::Exception& e) {
            Check(e.Message() == "ZEB DLL Internal Error :\rNot Assign \"frmBaseBatchClass\" varible",
                  "OpenJob raises the frmBaseBatchClass error");
        }
    }
    dlclose(lib);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
