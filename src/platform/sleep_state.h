#pragma once

namespace somnar {

// Hibernation (suspend to disk) or standby (suspend to RAM).
enum class SleepState { Hibernate, Standby };

}  // namespace somnar
