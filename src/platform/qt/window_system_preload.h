#pragma once

namespace somnar {

// Loads Qt's plugins for the X window system (the platform and the compose-key input)
// before a second thread of the program runs. While two threads run, every change the
// loader makes to the process's memory map interrupts the other processor, which costs
// about as much as the loading itself on a virtual machine; Qt then finds the plugins
// loaded. A plugin that is missing is left to Qt, which says so.
void preloadX11Plugins();

}  // namespace somnar
