// A loadable library that exports one function and no _lzs_compress.
extern "C" int stub_answer() { return 42; }
