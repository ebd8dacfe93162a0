#pragma once

#include "services/IOrvLog.h"

class TOrvLog_String;

// The process-wide message log; null before OrvLog_ModuleInit and after
// OrvLog_ModuleFinalize.
extern IOrvLog* OrvLog;

// Creates the log once, writes "Log initiated" and "Log active", publishes it
// and routes module start-up reports into it. A second call does nothing.
void OrvLog_ModuleInit();
void OrvLog_ModuleFinalize();

// The published log object itself, for readers of its messages; null when not published.
TOrvLog_String* OrvLog_Object();
