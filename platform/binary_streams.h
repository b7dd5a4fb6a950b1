#pragma once

namespace platform {

// Makes standard input, output and error carry bytes unchanged. Windows translates line ends
// on them (and ends reading at a Ctrl-Z byte) unless told otherwise, which would change the
// bytes that a command reads or writes; elsewhere there is nothing to do. Call before the first
// read or write.
void UseBinaryStandardStreams();

}  // namespace platform
