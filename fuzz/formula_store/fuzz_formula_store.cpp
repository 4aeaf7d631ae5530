// Store-file loading on arbitrary bytes. The first byte chooses the form:
// even, the rest is a plain .dat image that is enciphered first (so the
// fuzzer reaches the record and text checks); odd, the rest is taken as an
// enciphered .dat file as it would be read from disk. Group and parameter-set
// parsing run on the same bytes. A file that loads must save and load again
// to the same formulas.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formula/store/blowfish.h"
#include "formula/store/store_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) == 0) {
    file.resize((file.size() + 7) / 8 * 8, '\0');
    formula::FormulaCipher().EncipherBuffer(reinterpret_cast<uint8_t*>(file.data()), file.size());
  }
  std::deque<SFormulaRecord> records;
  std::string error;
  if (formula::ParseDatFile(file, data[0] % 5, records, error)) {
    const std::string again = formula::BuildDatFile(records);
    std::deque<SFormulaRecord> reloaded;
    if (!formula::ParseDatFile(again, data[0] % 5, reloaded, error) ||
        reloaded.size() != records.size())
      std::abort();
    for (size_t i = 0; i < records.size(); ++i)
      if (reloaded[i].strFormula != records[i].strFormula ||
          reloaded[i].strNote != records[i].strNote)
        std::abort();
  }
  const auto groups = formula::ParseGroupFile(file);
  const auto sets = formula::ParseParamSetFile(file);
  if (formula::BuildGroupFile(groups).size() != groups.size() * formula::kGroupSize) std::abort();
  if (formula::BuildParamSetFile(sets).size() != sets.size() * formula::kParamSetSize) std::abort();
  return 0;
}
