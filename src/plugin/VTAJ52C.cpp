// The library's start-up block: the units' initialisations first (the batch
// controller becomes the controller class), then the job-form class. Nothing
// else runs at load.
#include "plugin/DLLBTCtrller.h"
#include "plugin/DLLRegistration.h"

namespace {

struct StartUp {
    StartUp() {
        zb::RegisterBatchController();
        // The customs data-capture job form registers here once it exists;
        // until then OpenJob reports that no job-form class is assigned.
    }
};
const StartUp startUp;

}  // namespace
