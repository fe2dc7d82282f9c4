// Exports a function, but none a host looks for.
extern "C" __attribute__((visibility("default"))) int vexbitTestNotAPlugin()
{
    return 42;
}
