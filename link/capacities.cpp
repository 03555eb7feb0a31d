#include "link/capacities.h"

namespace dh1 {

int g_nHandsetFirstIndex = 1;
int g_nHandsetCapacity = 255;
int g_nHandsetNumberLen = 40;
int g_nHandsetNameLen = 20;
int g_nHandsetEmailLen = 30;
int g_nHandsetMemoLen = 50;

int g_nSimFirstIndex = 1;
int g_nSimCapacity = 100;
int g_nSimNumberLen = 20;
int g_nSimNameLen = 12;

int g_nScheduleCapacity = 30;
int g_nScheduleTextLen = 30;
int g_nMemoFirstIndex = 1;
int g_nMemoCapacity = 20;
int g_nMemoTextLen = 40;

int g_nSmsHandsetUsed = 0;
int g_nSmsHandsetTotal = 0;
int g_nSmsSimUsed = 0;
int g_nSmsSimTotal = 0;

} // namespace dh1
