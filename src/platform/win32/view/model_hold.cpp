#include "platform/win32/view/model_hold.h"

namespace somnar::win32 {
namespace {

int holds = 0;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

}  // namespace

ModelHold::ModelHold() {
    ++holds;
}

ModelHold::~ModelHold() {
    --holds;
}

bool ModelHold::engaged() {
    return holds > 0;
}

}  // namespace somnar::win32
