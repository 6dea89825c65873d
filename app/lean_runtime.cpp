// The release build's C++ runtime hooks. It is compiled without exceptions:
// nothing in the program catches one (the one allocation that may fail
// quietly asks with std::nothrow), so a throw could only end in
// std::terminate, that is abort(). These definitions take the same end by
// the short way and keep the library's exception machinery, its demangler
// and its thread support out of TAV.EXE. Linked into the release TAV.EXE only.
#include <cstdlib>
#include <new>

void *operator new(std::size_t size)
{
    // malloc(0) may give nullptr: a successful zero-byte request must not look like a failure.
    if (void *p = std::malloc(size ? size : 1))
        return p;
    std::abort();
}

void *operator new[](std::size_t size) { return ::operator new(size); }

void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }

void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }

// What the library's containers and strings call where they would throw:
// a length beyond max_size(), an index out of range, a failed allocation.
namespace std {
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_length_error(const char *) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char *) { std::abort(); }
[[noreturn]] void __throw_invalid_argument(const char *) { std::abort(); }
[[noreturn]] void __throw_out_of_range(const char *) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char *, ...) { std::abort(); }
[[noreturn]] void __throw_bad_function_call() { std::abort(); }
} // namespace std

// The start-up code calls this to apply the linker's run-time pseudo-relocations
// (references to data that a DLL exports, patched as the program starts). The
// release link makes none (--disable-auto-import refuses such a reference), so
// the library's relocator, with its section walker and its error printer, is
// dead weight. Should the list ever hold one, stop rather than run unpatched.
extern "C" char __RUNTIME_PSEUDO_RELOC_LIST__[], __RUNTIME_PSEUDO_RELOC_LIST_END__[];
extern "C" void _pei386_runtime_relocator()
{
    if (+__RUNTIME_PSEUDO_RELOC_LIST__ != +__RUNTIME_PSEUDO_RELOC_LIST_END__)
        std::abort();
}
