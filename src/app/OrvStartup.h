#pragma once

// Runs the support library's module start-ups in their fixed order; each runs once.
void OrvStartup_ModuleInit();
// Runs their finalizations in reverse order.
void OrvStartup_ModuleFinalize();
