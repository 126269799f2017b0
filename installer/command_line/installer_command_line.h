// The installer's command line: the program path and the switches the
// installer was started with. It is read from the words Windows split the
// line into and rendered again for the setup program the installer starts.
#ifndef INSTALLER_COMMAND_LINE_INSTALLER_COMMAND_LINE_H_
#define INSTALLER_COMMAND_LINE_INSTALLER_COMMAND_LINE_H_

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lite {

class InstallerCommandLine {
 public:
  // Switch names in lower case (UTF-8), each with its value; a switch given
  // without "=" has an empty value. Ordered by the bytes of the names, which
  // is also the order Render() writes them in.
  using SwitchMap = std::map<std::string, std::u16string>;

  // |words| as CommandLineToArgvW returns them: the program path first, kept
  // as it is, then the arguments. An argument, trimmed of white space, that
  // starts with "--", "-" or "/" is a switch; every other one is dropped.
  static InstallerCommandLine FromWords(const std::vector<std::u16string>& words);

  // |name| may be given as "name", "--name", "-name" or "/name", in any ASCII
  // case. An absent switch has an empty value.
  bool HasSwitch(std::string_view name) const;
  std::u16string GetSwitchValue(std::string_view name) const;
  // The low byte of each UTF-16 unit; for values known to be ASCII.
  std::string GetSwitchValueASCII(std::string_view name) const;

  // Names are normalised as for the lookups above. A later value replaces an
  // earlier one. Names that could not be read back from the rendered line,
  // empty ones and ones containing "=", are ignored. White space at the end
  // of a value is kept here but lost when the rendered line is read again,
  // since the reader trims every word.
  void AppendSwitch(std::string_view name);
  // |value| is widened byte by byte.
  void AppendSwitchASCII(std::string_view name, std::string_view value);
  void AppendSwitchValue(std::string_view name, std::u16string_view value);
  void RemoveSwitch(std::string_view name);
  // AppendSwitch when |present|, else RemoveSwitch.
  void SetOrRemoveSwitch(std::string_view name, bool present);

  void SetProgram(std::u16string program) { program_ = std::move(program); }
  const std::u16string& GetProgram() const { return program_; }
  const SwitchMap& switches() const { return switches_; }

  // The program, then " --name" or " --name=value" for every switch, quoted
  // so that CommandLineToArgvW gives back the same words; a name that ends
  // in white space is written as " --name=" to survive trimming. A quotation mark
  // cannot be expressed in the program path and is left out.
  std::u16string Render() const;
  // The switches alone, as Render() writes them after the program but
  // without the blank that would separate them from it: the parameters of
  // ShellExecuteExW.
  std::u16string RenderSwitches() const;

 private:
  void SetSwitch(std::string name, std::u16string value);

  std::u16string program_;
  SwitchMap switches_;
};

}  // namespace lite

#endif  // INSTALLER_COMMAND_LINE_INSTALLER_COMMAND_LINE_H_
