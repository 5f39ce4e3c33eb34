// Writes an archive with entries of every kind the writer meets (empty, stored, deflated,
// long runs, more than 32 KiB, random bytes, UTF-8 names) and each entry's bytes on
// their own, for zip_roundtrip_check.py to compare through unzip and Python's zipfile.
//   zip_roundtrip_gen <output folder>
// writes archive.zip, manifest.json (names as hex, in order) and entry<i>.bin there.
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/files.h"
#include "export/zip.h"

namespace {

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "\"";
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out + "\"";
}

std::vector<std::pair<std::string, std::string>> Entries() {
  std::mt19937 rng(17);
  std::string random(100000, '\0');
  for (char& c : random) c = static_cast<char>(rng() & 0xFF);
  std::string words;
  const char* pieces[] = {"<row r=\"", "\">", "<c r=\"B", "\" s=\"6\"><v>", "</v></c>", "</row>"};
  while (words.size() < 300000) {
    words += pieces[rng() % 6];
    words += std::to_string(rng() % 5000);
  }
  std::string runs;
  while (runs.size() < 150000) runs.append(rng() % 2000, static_cast<char>('a' + rng() % 3));
  return {
      {"empty.txt", ""},
      {"one.txt", "x"},
      {"short.txt", "hello"},
      {"dir/sub/r\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC.txt", "UTF-8 name"},
      {"run.bin", std::string(70000, '\0')},
      {"runs.txt", runs},
      {"random.bin", random},
      {"sheet.xml", words},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zip_roundtrip_gen <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  velquist::ZipWriter zip("2024-05-03T14:07:09Z");
  std::string manifest = "[";
  bool ok = true;
  const auto entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    zip.AddEntry(entries[i].first, entries[i].second);
    manifest += (i ? "," : "") + Hex(entries[i].first);
    ok = ok && velquist::WriteFileAtomic(folder + "/entry" + std::to_string(i) + ".bin",
                                         entries[i].second);
  }
  ok = ok && velquist::WriteFileAtomic(folder + "/manifest.json", manifest + "]") &&
       velquist::WriteFileAtomic(folder + "/archive.zip", zip.Finish());
  if (!ok) {
    std::fprintf(stderr, "cannot write to %s\n", argv[1]);
    return 1;
  }
  return 0;
}
