#pragma once

#include <string>

// The commands of tallyline-cli beyond dump and pack, each given the
// arguments after its name. Each returns the exit status: 0 when it did its
// work, 1 when a file could not be read, 2 on a usage error.

// report daily|weekly|monthly|yearly [--folder DIR] [--csv]
int ReportCommand(int argc, char** argv);
extern const char* const kReportUsage;

// The folder argument as the program's folder: with a trailing delimiter.
std::string FolderArgument(std::string folder);
// Standard output without the line-break translation of Windows.
void BinaryStandardOutput();
