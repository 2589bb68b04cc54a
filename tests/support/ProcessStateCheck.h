#pragma once

namespace testsupport {

// The tests of one program share its process (ctest runs each program in a
// few shards), so every test must leave the process as it found it. Installed
// by the test programs' main: before each test it notes the installed platform
// services, the fatal handler, the environment and the working directory; a
// test that leaves any of them changed fails, naming what it left behind, and
// the noted state is put back so the tests after it are judged on their own.
void InstallProcessStateCheck();

} // namespace testsupport
