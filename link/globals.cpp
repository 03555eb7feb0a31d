#include "link/globals.h"

namespace dh1 {

bool g_bUserAbort = false;
int g_nLastError = 0;
int g_nProgressRange = 10;
QString g_strProgramDir;
QStringList g_arrGroupNames;

int g_nIrCommChunk = 20;
int g_nIrCommPause = 20;
int g_nIrCommTimeout = -1;

bool g_bTrace = false;

} // namespace dh1
