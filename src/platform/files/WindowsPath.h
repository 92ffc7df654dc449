#pragma once

#include <string>

namespace corvane {

// A path built the Windows way (folder + "\" + name) as a path of this system. Windows names
// are found without regard to case, and a Windows partition mounted here keeps its own case,
// so on POSIX systems "\" becomes "/" and each part of the path that does not exist as written
// is looked up in its folder without regard to case (the first match in name order). A part
// that matches nothing stays as written. On Windows the path is returned unchanged.
std::string hostPath(const std::string& windowsPath);

}  // namespace corvane
