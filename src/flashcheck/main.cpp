#include "ClassesRoot.h"
#include "DesktopPrompt.h"
#include "FlashCheck.h"

// No arguments are taken; the exit code is always 0.
int main(int, char**) {
#ifdef _WIN32
    const flashcheck::RegistryClassesRoot root;
#else
    const flashcheck::RegFileClassesRoot root(flashcheck::RegFileClassesRoot::defaultFilePath());
#endif
    flashcheck::DesktopPrompt prompt;
    return flashcheck::runFlashCheck(root, prompt);
}
