// 100,000 lookups, nine in ten found, through TranslateObjectString (the
// operation every shown text goes through) against GNU gettext's dgettext
// over catalogues made with msgfmt from the same dictionary. A text that is
// not found is appended by ours (in memory: the save comes when the public
// call that met it returns, and is measured by the new-texts case) and
// handed back unchanged by gettext.
#include <libintl.h>
#include <locale.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "bench/host_process.h"
#include "bench/inputs.h"
#include "bench/suite.h"
#include "bench/texts.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRows = 50000;
constexpr int kLanguages = 8;
constexpr std::size_t kLookups = 100000;
constexpr unsigned kFoundPercent = 90;

struct Lookup {
  std::string text;
  std::int16_t to = 2;
  std::string expected;
};

std::string Domain(int language) { return "veltrano_" + std::to_string(language); }

// One catalogue per target language, as a translator's tool would export it.
fs::path Catalogues(Context& context) {
  const fs::path locale = context.cache / ("gettext-" + std::to_string(kRows) + "x" +
                                           std::to_string(kLanguages) + "-v1");
  const fs::path messages = locale / "vt" / "LC_MESSAGES";
  if (fs::exists(messages / (Domain(kLanguages) + ".mo"))) return locale;
  fs::create_directories(messages);
  for (int l = 2; l <= kLanguages; ++l) {
    const fs::path po = context.scratch / (Domain(l) + ".po");
    {
      std::ofstream out(po, std::ios::binary);
      out << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
      for (std::size_t r = 1; r <= kRows; ++r) {
        out << "msgid \"" << DictionaryText(r, 1) << "\"\nmsgstr \"" << DictionaryText(r, l)
            << "\"\n\n";
      }
    }
    RunChecked({"/usr/bin/msgfmt", "-o", (messages / (Domain(l) + ".mo")).string(), po.string()},
               context.scratch);
  }
  return locale;
}

std::vector<Lookup> Sequence() {
  Rng rng(3);
  std::vector<Lookup> lookups;
  for (std::size_t i = 0; i < kLookups; ++i) {
    const auto to = static_cast<std::int16_t>(2 + rng.Below(kLanguages - 1));
    if (rng.Percent(kFoundPercent)) {
      const std::size_t row = 1 + rng.Below(kRows);
      lookups.push_back({DictionaryText(row, 1), to, DictionaryText(row, to)});
    } else {
      std::string text = NewText("lookup", i);
      lookups.push_back({text, to, text});
    }
  }
  return lookups;
}

}  // namespace

std::vector<Row> RunLookupsCase(Context& context) {
  const fs::path file = OurDictionary(context, kRows, kLanguages);
  const fs::path pictures = MakePicturesFolder(context.scratch, file);
  const fs::path locale = Catalogues(context);
  const std::vector<Lookup> lookups = Sequence();

  setenv("LANGUAGE", "vt", 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  if (setlocale(LC_ALL, "C.UTF-8") == nullptr) throw std::runtime_error("no C.UTF-8 locale");
  std::vector<std::string> domains(kLanguages + 1);
  for (int l = 2; l <= kLanguages; ++l) {
    domains[static_cast<std::size_t>(l)] = Domain(l);
    bindtextdomain(Domain(l).c_str(), locale.c_str());
    bind_textdomain_codeset(Domain(l).c_str(), "UTF-8");
  }
  auto gettext = [&](const Lookup& l) {
    return dgettext(domains[static_cast<std::size_t>(l.to)].c_str(), l.text.c_str());
  };

  InProcessHost host(pictures);
  std::shared_ptr<interpreter::VeltranoModule> object;
  std::size_t checksum = 0;
  // Both warmed before the clock runs: our index of the searched column
  // built, every catalogue opened, by a text of row 1.
  const Lookup warm{DictionaryText(1, 1), 2, ""};
  for (std::int16_t to = 2; to <= kLanguages; ++to) {
    checksum += std::char_traits<char>::length(gettext({warm.text, to, ""}));
  }
  auto fresh_object = [&] {
    // Each run on a fresh object: the texts it appended stay unsaved and
    // go with it, so every run finds the same nine in ten.
    object.reset();
    object = host.CreateReady();
    for (std::int16_t to = 2; to <= kLanguages; ++to) {
      std::int16_t from = 1;
      checksum += object->TranslateObjectString(warm.text, from, to).size();
    }
  };
  const std::vector<Figure> figures = MeasureInTurn(
      context.runs, {{fresh_object,
                      [&] {
                        for (const Lookup& l : lookups) {
                          std::int16_t from = 1, to = l.to;
                          checksum += object->TranslateObjectString(l.text, from, to).size();
                        }
                      }},
                     {nullptr, [&] {
                        for (const Lookup& l : lookups)
                          checksum += std::char_traits<char>::length(gettext(l));
                      }}});

  // Both gave the expected texts, or the race was not fair.
  for (const Lookup& l : lookups) {
    std::int16_t from = 1, to = l.to;
    const std::string ours = object->TranslateObjectString(l.text, from, to);
    const std::string theirs = gettext(l);
    if (ours != l.expected || theirs != l.expected) {
      throw std::runtime_error("lookups disagree for \"" + l.text + "\": ours \"" + ours +
                               "\", gettext \"" + theirs + "\", expected \"" + l.expected + "\"");
    }
  }
  object.reset();
  // Missing texts raise the missing flags; no box is shown for them here.
  host.ExpectQuiet("the lookups");
  setlocale(LC_ALL, "C");

  char note[200];
  std::snprintf(note, sizeof note,
                "%zu rows x %d languages; Language_1 to Language_2..%d; each run on a fresh "
                "object, both warmed first (checksum %zu)",
                kRows, kLanguages, kLanguages, checksum);
  return {{"3 lookups", "TranslateObjectString", "gettext dgettext",
           PerItem(figures[0], kLookups, 1e9), PerItem(figures[1], kLookups, 1e9), "ns",
           AtLeastTimesFaster(2), note}};
}

}  // namespace vt::bench
