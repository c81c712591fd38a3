// What the service tests start: a copy of the fake installer under the
// installer's name, with its settings (lines of "key value") beside it.
#pragma once

#include "harness.h"

#include <string>

namespace drvwatch_test {

inline void putInstaller(const TempDir& dir, const std::string& settings) {
    copyFile(FAKE_INSTALLER_PROGRAM, dir / "DPInstx86.exe");
    writeFile(dir / "DPInstx86.cfg", settings);
}

}  // namespace drvwatch_test
