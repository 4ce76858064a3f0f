// Files, folders and the printer's PDFs, as the test programs see them
// from inside Wine.
#ifndef PENRIK_TEST_FILES_H
#define PENRIK_TEST_FILES_H

#include <set>
#include <string>

// The tests speak UTF-8; the program and the system, characters. Text
// that is no UTF-8 is taken as the code page's.
std::wstring Wide(const std::string& text);
std::string Utf8(const wchar_t* text);  // "(none)" for a null

// Files are named in UTF-8.
// The whole file, or "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);
// Returns false when the file could not be written whole.
bool WriteBytes(const std::string& path, const std::string& bytes);
// How many files in `folder` (ending in a backslash) match `pattern`.
int CountFiles(const std::string& folder, const std::string& pattern);
// A new folder in the temporary folder, named PREFIX-PROCESS-N, with a
// trailing backslash.
std::string FreshFolder(const std::string& prefix);
// A Unix path in the form Wine shows it, under drive Z:.
std::string UnixToWindows(const std::string& path);
// The folder where the test printer's PDFs land (PENRIK_PDF_DIR), in
// Windows form with a trailing backslash; empty when there is none.
std::string PdfFolder();
// The names of the PDF files in that folder.
std::set<std::string> PdfNames(const std::string& folder);

#endif
