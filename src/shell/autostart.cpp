#include "shell/autostart.h"

namespace jc {

Text AutostartCommand(std::string_view programDirectory, std::string_view fileName) {
  Text command = Text(programDirectory) + "\\" + Text(fileName);
  if (command.find(' ') != Text::npos) command = "\"" + command + "\"";
  return command;
}

RegistryItem SplitRegistryItem(std::string_view item) {
  int slash = FindTextReverse(item, "\\");
  if (slash == -1) return {Text(), Text(item)};
  return {LeftText(item, slash - 1), MidText(item, slash + 1, static_cast<int>(item.size()))};
}

}  // namespace jc
