#pragma once

#include "services/IOrvStoragePath.h"

// The storage paths service; null until its start-up has run and after finalization.
extern IOrvStoragePath* OrvStoragePath;

// Start-up of the unit Orv.Storage.Path: runs the start-up of
// Orv.Storage.Path_Access when the service is not published yet, so the
// service exists once whichever of the two starts first.
void OrvStoragePath_ModuleInit();
// Empties OrvStoragePath; the object is freed by Orv.Storage.Path_Access.
void OrvStoragePath_ModuleFinalize();
