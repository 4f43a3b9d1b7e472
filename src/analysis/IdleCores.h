#pragma once
// How many cores a second thread of the elimination would find idle now. A thread of the lowest
// priorities (nice 10 and over: a background job) takes next to nothing from a thread of normal
// priority, so it does not count as busy.
#include <string_view>

// The cores less the threads running at this moment (the caller included). With lookCloser, when
// the machine seems busy, threads of a background job are not counted: that reads the state of
// every thread (a few milliseconds), so it is for the work of a second or more.
int IdleCores(unsigned cores, bool lookCloser);

// Whether the machine has a second core and it is idle now (IdleCores, lookCloser as there).
bool SecondCoreIdle(bool lookCloser);

// From one line of /proc/<pid>/task/<tid>/stat: whether the thread is runnable at a priority
// that competes with ours (state R and nice below 10). A line it cannot read gives false.
bool RunsAtNormalPriority(std::string_view statLine);
