#include "platform/qt/model_hold.h"

namespace somnar {
namespace {

// Only the window's thread holds and asks.
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

}  // namespace somnar
