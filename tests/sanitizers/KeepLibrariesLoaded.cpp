// Linked into the tests of an AddressSanitizer build. LeakSanitizer looks for
// lost blocks when the process exits. By then libvlc has unloaded its plugins
// and they their libraries (codecs, Mesa, ...): every block such a library
// still kept looks lost, and the code that allocated it can no longer be
// named. So only a library that the program's own code loaded is unloaded;
// the others stay, LeakSanitizer sees what they still hold, and what they
// really lose is reported with readable stacks.
#include <dlfcn.h>

extern "C" int dlclose(void* handle)
{
    Dl_info caller {};
    Dl_info self {};
    if (dladdr(__builtin_return_address(0), &caller) && dladdr(reinterpret_cast<void*>(&dlclose), &self)
        && caller.dli_fbase == self.dli_fbase) {
        using TDlclose = int (*)(void*);
        static const auto next = reinterpret_cast<TDlclose>(dlsym(RTLD_NEXT, "dlclose"));
        return next(handle);
    }
    return 0;
}
