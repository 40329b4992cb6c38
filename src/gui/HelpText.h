#pragma once
// README.md as the program was built with it: F1 shows its window section.

namespace kov {

const char* ReadmeText();

}  // namespace kov
