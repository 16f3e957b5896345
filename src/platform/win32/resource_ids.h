#pragma once

// The numbers of the program's Windows resources (somnar-scheduler.rc and the code that
// loads them).
#define SOMNAR_ICON_WINDOW 1
#define SOMNAR_ICON_INFO_WINDOW 2
#define SOMNAR_ICON_HIBERNATE 3
#define SOMNAR_ICON_STANDBY 4
#define SOMNAR_ICON_OPEN 5
#define SOMNAR_ICON_INFO 6
