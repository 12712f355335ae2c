#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The Generate command on the command line:
//   velmora-table (--linear LOWER UPPER | --points FILE) [--decimals N] [--units TEXT] --output FILE
// args are the arguments after the program name. Errors are one line on pErr; "--output -" writes the table
// file to pOut. Returns the exit status: 0 written, 1 table refused or file not written, 2 usage error.
int RunTableCommand(const std::vector<std::string>& args, std::FILE* pOut, std::FILE* pErr);

// The text --help prints.
std::string TableCommandUsage();
