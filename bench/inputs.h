#pragma once

// The cases' input files, made from the deterministic texts: dictionaries
// written by our engine or by LibreOffice (kept in the cache, since
// LibreOffice takes a while), pictures, and the pictures folder that the
// interpreter object works in.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bench/suite.h"

namespace vt::bench {

using Json = nlohmann::ordered_json;

// A dictionary of `rows` rows in `languages` languages, written by our engine;
// with `untranslated_every`, every translation of one row in that many left
// out (the texts are the same).
std::filesystem::path OurDictionary(Context& context, std::size_t rows, int languages,
                                    std::size_t untranslated_every = 0);

// The same texts (with `padded_percent` of the cells padded with spaces)
// written by LibreOffice headless from a CSV file, as a translator's
// spreadsheet program saves it.
std::filesystem::path LibreOfficeDictionary(Context& context, std::size_t rows, int languages,
                                            unsigned padded_percent);

// The full-size dictionary of the creation cases: every row the format
// allows, eight languages, one cell in ten padded, made by LibreOffice.
inline constexpr std::size_t kFullRows = 65535;
inline constexpr int kFullLanguages = 8;
inline constexpr unsigned kPaddedPercent = 10;
std::filesystem::path PaddedDictionary(Context& context);

// soffice with a profile of our own (so a running LibreOffice does not take
// the job over) and `args`.
ProcessRun RunLibreOffice(Context& context, const std::vector<std::string>& args);

// A pictures folder under `folder`: Veltrano/Veltrano.ini (development
// language 1, starting language `start_language`), Veltrano/Veltrano.xls a
// copy of `dictionary`, Veltrano/Veltrano_Alm.xls an empty alarm dictionary.
std::filesystem::path MakePicturesFolder(const std::filesystem::path& folder,
                                         const std::filesystem::path& dictionary,
                                         int start_language = 1);

// Puts a fresh copy of `dictionary` in the pictures folder's Veltrano folder.
void ResetDictionary(const std::filesystem::path& pictures,
                     const std::filesystem::path& dictionary);
std::filesystem::path DictionaryIn(const std::filesystem::path& pictures);

// Picture objects as the host's picture files hold them.
Json TextObject(const std::string& name, const std::string& caption, std::size_t place);
Json ButtonObject(const std::string& name, const std::string& caption,
                  const std::string& description, std::size_t place);
Json LinkObject(const std::string& name, std::size_t place);
Json GroupObject(const std::string& name, Json members);
Json PictureFile(Json objects);

// How many objects a picture holds, groups and their members counted.
std::size_t CountObjects(const Json& objects);

void WriteText(const std::filesystem::path& file, const std::string& text);
std::string ReadText(const std::filesystem::path& file);

}  // namespace vt::bench
