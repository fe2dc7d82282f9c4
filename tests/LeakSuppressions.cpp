// fontconfig (behind cairo's text) keeps its caches until the process ends; the
// leak checker would report them, though they are not ours and do not grow.
// Programs started by tests get the same rule from tests/lsan.supp (scripts/test.sh).
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
