// fontconfig (through cairo's font lookup) keeps allocations until exit that the
// leak checker reports as lost; they are not ours and do not grow per use.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
