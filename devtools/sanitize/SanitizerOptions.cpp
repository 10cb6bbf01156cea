// Built into every program of the sanitizer build (the tests, the program, qvtool, qvdde), so that each
// runs the same way however it is started: the first report ends the run, leaks are reported at exit,
// and only reports inside Qt, fontconfig, GLib and the other system libraries named in the
// suppression files beside this one are let through.
#define QV_SUPPRESSIONS(file) "suppressions=" QV_SANITIZE_DIR "/" file

extern "C" {

__attribute__((visibility("default"), used)) const char* __asan_default_options()
{
    return "detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0:" QV_SUPPRESSIONS("asan.supp");
}

__attribute__((visibility("default"), used)) const char* __lsan_default_options()
{
    return "print_suppressions=0:" QV_SUPPRESSIONS("lsan.supp");
}

__attribute__((visibility("default"), used)) const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1:" QV_SUPPRESSIONS("ubsan.supp");
}

} // extern "C"
