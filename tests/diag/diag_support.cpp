#include "diag_support.h"
#include <korvel.h>

void MarkLog(const std::string& marker)
{
    LogPrintf("== %s ==\n", marker.c_str());
}

std::string LogAfter(const std::string& marker)
{
    std::string log = ReadLog();
    std::string line = "== " + marker + " ==\r\n";
    size_t at = log.rfind(line);
    return at == std::string::npos ? std::string() : log.substr(at + line.size());
}
