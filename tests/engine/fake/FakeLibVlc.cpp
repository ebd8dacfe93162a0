// A stand-in for libvlc.so.5, built by scenora_add_fake_libvlc with a chosen
// version text and a chosen set of exported entry points. Every call is
// recorded (name and arguments) and can be read back through
// scenora_fake_libvlc_calls. Results are neutral: 0, an empty string, or a
// pointer to a zero-filled block for objects, so callers see success.

#include <vlc/vlc.h>

#include "engine/VlcEntryList.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <type_traits>

extern const char* const scenoraFakeVersion; // the version text chosen for this fake

namespace {

std::mutex callsMutex;
std::string calls;
std::string callsSnapshot;
alignas(std::max_align_t) unsigned char fakeObject[1024];

void appendText(std::string& line, const char* text)
{
    line += '\t';
    line += text ? text : "(null)";
}

template <typename T>
void appendArgument(std::string& line, T value)
{
    if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, char*>) {
        appendText(line, value);
    } else if constexpr (std::is_pointer_v<T>) {
        char text[32];
        std::snprintf(text, sizeof text, "%p", reinterpret_cast<const void*>(value));
        appendText(line, value ? text : "(null)");
    } else if constexpr (std::is_floating_point_v<T>) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
        appendText(line, text);
    } else if constexpr (std::is_enum_v<T>) {
        appendText(line, std::to_string(static_cast<std::underlying_type_t<T>>(value)).c_str());
    } else {
        appendText(line, std::to_string(value).c_str());
    }
}

void addCall(const std::string& line)
{
    const std::lock_guard lock(callsMutex);
    calls += line;
    calls += '\n';
}

template <typename R>
R neutralResult()
{
    if constexpr (std::is_void_v<R>)
        return;
    else if constexpr (std::is_same_v<R, const char*>)
        return "";
    else if constexpr (std::is_same_v<R, char*>)
        return strdup(""); // the caller frees it with libvlc_free
    else if constexpr (std::is_pointer_v<R>)
        return reinterpret_cast<R>(fakeObject);
    else
        return R {};
}

enum class TFakeId {
#define FAKE_ENTRY_ID(R, name, params, args, group, stub) name,
    LIBVLC_ENTRY_LIST(FAKE_ENTRY_ID)
#undef FAKE_ENTRY_ID
};

// The behaviour of one entry point: record the call, return a neutral result.
template <TFakeId Id, typename R>
struct TFakeEntry {
    const char* name;

    template <typename... A>
    R operator()(A... arguments) const
    {
        std::string line = name;
        (appendArgument(line, arguments), ...);
        addCall(line);
        return neutralResult<R>();
    }
};

template <>
struct TFakeEntry<TFakeId::libvlc_get_version, const char*> {
    const char* name;
    const char* operator()() const
    {
        addCall(name);
        return scenoraFakeVersion;
    }
};

// The argument vector is recorded element by element after its count.
template <>
struct TFakeEntry<TFakeId::libvlc_new, libvlc_instance_t*> {
    const char* name;
    libvlc_instance_t* operator()(int argc, const char* const* argv) const
    {
        std::string line = name;
        appendArgument(line, argc);
        for (int i = 0; i < argc; ++i)
            appendText(line, argv[i]);
        addCall(line);
        return neutralResult<libvlc_instance_t*>();
    }
};

template <>
struct TFakeEntry<TFakeId::libvlc_free, void> {
    const char* name;
    void operator()(void* ptr) const
    {
        std::string line = name;
        appendArgument(line, ptr);
        addCall(line);
        if (ptr != fakeObject)
            std::free(ptr);
    }
};

} // namespace

#define FAKE_ENTRY_DEFINITION(R, name, params, args, group, stub) \
    extern "C" R name params { return TFakeEntry<TFakeId::name, R> {#name} args; }
LIBVLC_ENTRY_LIST(FAKE_ENTRY_DEFINITION)
#undef FAKE_ENTRY_DEFINITION

// One line per call: the entry point's name and its arguments, tab-separated.
// The text stays valid until the next call of this function.
extern "C" const char* scenora_fake_libvlc_calls()
{
    const std::lock_guard lock(callsMutex);
    callsSnapshot = calls;
    return callsSnapshot.c_str();
}

extern "C" void scenora_fake_libvlc_clear_calls()
{
    const std::lock_guard lock(callsMutex);
    calls.clear();
}
