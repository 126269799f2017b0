// Windows test binaries start copies of themselves as helper processes:
// "test.exe --child=NAME arg..." runs the function registered as NAME
// instead of the tests, and its result becomes the process exit code.
#ifndef TESTS_SUPPORT_CHILD_PROCESS_WIN_H_
#define TESTS_SUPPORT_CHILD_PROCESS_WIN_H_

#include <map>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/process_win.h"

namespace lite {
namespace testing {

using ChildMain = int (*)(const std::vector<std::u16string>& args);

// Registers |main| under |name|; used through TL_CHILD_PROCESS below.
bool RegisterChildMain(const char* name, ChildMain main);
// Runs the child named by argv[1] when it is "--child=NAME"; false when the
// process is a normal test run.
bool MaybeRunChild(int argc, wchar_t** argv, int* exit_code);

// Starts this test executable (or |program|) as child |name|.
Process StartChild(const std::string& name, const std::vector<std::u16string>& args,
                   const LaunchOptions& options = LaunchOptions());
// Starts and waits (up to |timeout_ms|); the exit code, or -9999 on time-out.
int RunChild(const std::string& name, const std::vector<std::u16string>& args,
             DWORD timeout_ms = 60000);

// Quotes and joins words into one command line.
std::u16string JoinCommandLine(const std::vector<std::u16string>& words);

// A fresh directory under the temporary directory, removed by the caller.
FilePath MakeScratchDir();

// The current environment with |overrides| (name -> value) applied, as a
// CreateProcessW block.
std::u16string EnvironmentWith(const std::map<std::u16string, std::u16string>& overrides);

// Waits up to |timeout_ms| for |file| to contain |text|; for following a
// running program's log.
bool WaitForFileText(const FilePath& file, const std::string& text, DWORD timeout_ms);

// The build's lite_installer.exe.
FilePath InstallerExePath();

}  // namespace testing
}  // namespace lite

#define TL_CHILD_PROCESS(name, function) \
  static const bool tl_child_registered_##function = \
      ::lite::testing::RegisterChildMain(name, function)

#endif  // TESTS_SUPPORT_CHILD_PROCESS_WIN_H_
