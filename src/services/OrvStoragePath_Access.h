#pragma once

// Start-up of the unit Orv.Storage.Path_Access: creates the storage paths
// service once (which creates the application's folders), reporting itself to
// the message log, and publishes it in OrvStoragePath. Needs the application
// identity, so it runs after Orv.App.
void OrvStoragePath_Access_ModuleInit();
// Empties OrvStoragePath and frees the service.
void OrvStoragePath_Access_ModuleFinalize();
