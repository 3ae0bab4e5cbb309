// Whole-file reads and writes, the only way the program touches its files' contents.
#pragma once

#include "common/text.h"

namespace jc {

// The whole file, or empty bytes when it cannot be opened or read. Others may read the file
// meanwhile but not write it.
Bytes ReadWholeFile(const Text& path);

// Creates the file or replaces its whole content, holding it with exclusive access. False when
// the file cannot be opened or not every byte was written; an empty name touches nothing.
bool WriteWholeFile(const Text& path, const Bytes& bytes);

bool FileExists(const Text& path);

// Makes the folder that `path` lies in when it is missing (its own parent must exist): the
// user may delete data\ while the program runs.
void MakeFolderOf(const Text& path);

// Writes a temporary file beside `path`, then moves it over `path`: a crash or an exit during
// the write leaves either the old file or the new one, never a truncated one.
bool ReplaceFileAtomically(const Text& path, const Bytes& bytes);

}  // namespace jc
