#include "jobs/scene_export.h"

#include <algorithm>
#include <stdexcept>

#include "base/file_write.h"
#include "engine/bank_maker.h"
#include "engine/formats.h"

namespace mipofc {

namespace {

constexpr std::size_t MaxListed = 20;

std::string FitMessage(const std::vector<TScene>& scenes, const TScenePlan& plan) {
  std::string message;
  for (std::size_t k = 0; k < plan.Oversized.size() && k < MaxListed; ++k) {
    const TOversizedScene& o = plan.Oversized[k];
    const TScene& scene = scenes[o.Scene];
    if (k > 0) message += "\n";
    message += "scene " + std::to_string(o.Scene) + " (lines " + std::to_string(scene.FirstLine) + "-" +
               std::to_string(scene.LastLine) + "): " + std::to_string(o.Characters) +
               " characters besides the fixed banks; a bank holds " + std::to_string(plan.Capacity);
  }
  if (plan.Oversized.size() > MaxListed)
    message += "\nand " + std::to_string(plan.Oversized.size() - MaxListed) + " more";
  return message;
}

// Each character's cell in one bank's view: the fixed banks' cells, then the switched bank's.
class TCells {
 public:
  explicit TCells(const TScenePlan& plan) : fixed_(0x10000, -1), bank_(0x10000, -1) {
    for (std::size_t i = 0; i < plan.Fixed.size(); ++i) fixed_[plan.Fixed[i]] = static_cast<std::int32_t>(i);
    switchedFrom_ = std::int64_t{plan.FixedBanks} * plan.Capacity;
  }
  void Show(const std::u16string& bank) {
    for (char16_t c : shown_) bank_[c] = -1;
    shown_ = bank;
    for (std::size_t j = 0; j < bank.size(); ++j) bank_[bank[j]] = static_cast<std::int32_t>(j);
  }
  // The cell of c, or -1 for a character without one.
  std::int64_t Of(char16_t c) const {
    if (fixed_[c] >= 0) return fixed_[c];
    return bank_[c] >= 0 ? switchedFrom_ + bank_[c] : -1;
  }
  std::int64_t SwitchedFrom() const { return switchedFrom_; }

 private:
  std::vector<std::int32_t> fixed_, bank_;
  std::u16string shown_;
  std::int64_t switchedFrom_ = 0;
};

// The highest cell any code names, plus one.
std::int64_t CellsUsed(const TScenePlan& plan) {
  std::size_t largest = 0;
  for (const std::u16string& bank : plan.Banks) largest = std::max(largest, bank.size());
  if (plan.Banks.empty()) return static_cast<std::int64_t>(plan.Fixed.size());
  return std::int64_t{plan.FixedBanks} * plan.Capacity + static_cast<std::int64_t>(largest);
}

std::vector<TTableEntry> BankEntries(const TScenePlan& plan, const std::u16string* bank, const TCodePlan& codes,
                                     const TControlCodes& controls) {
  std::vector<TTableEntry> entries;
  const auto add = [&](char16_t c, std::int64_t cell) {
    entries.push_back({TEntryKind::Normal, CodeOf(codes.Start + static_cast<std::uint32_t>(cell), codes.Bytes),
                       std::u16string(1, c), 0});
  };
  for (std::size_t i = 0; i < plan.Fixed.size(); ++i) add(plan.Fixed[i], static_cast<std::int64_t>(i));
  if (bank != nullptr)
    for (std::size_t j = 0; j < bank->size(); ++j)
      add((*bank)[j], std::int64_t{plan.FixedBanks} * plan.Capacity + static_cast<std::int64_t>(j));
  AddControlEntries(entries, controls);
  return entries;
}

struct TEncodedScenes {
  std::string Bytes;
  std::vector<std::uint64_t> Offsets, Lengths;
  std::uint64_t LineBreaks = 0;
};

TEncodedScenes EncodeScenes(const std::vector<TScene>& scenes, const TScenePlan& plan, const TCodePlan& codes,
                            const TControlCodes& controls) {
  TEncodedScenes out;
  // Scenes grouped by bank, so that each bank's cells are looked up once.
  std::vector<std::string> bytes(scenes.size());
  std::vector<std::vector<std::size_t>> byBank(std::max<std::size_t>(plan.Banks.size(), 1));
  for (std::size_t s = 0; s < scenes.size(); ++s) byBank[static_cast<std::size_t>(plan.SceneBank[s])].push_back(s);
  TCells cells(plan);
  for (std::size_t b = 0; b < byBank.size(); ++b) {
    if (b < plan.Banks.size()) cells.Show(plan.Banks[b]);
    for (std::size_t s : byBank[b]) {
      std::string& text = bytes[s];
      for (char16_t c : scenes[s].Text) {
        if (c == u'\n') {
          ++out.LineBreaks;
          if (controls.Newline) text += *controls.Newline;
          continue;
        }
        const std::int64_t cell = SceneBreak(c) ? -1 : cells.Of(c);
        if (cell >= 0) text += CodeOf(codes.Start + static_cast<std::uint32_t>(cell), codes.Bytes);
      }
      if (controls.End) text += *controls.End;
    }
  }
  for (const std::string& text : bytes) {
    out.Offsets.push_back(out.Bytes.size());
    out.Lengths.push_back(text.size());
    out.Bytes += text;
  }
  return out;
}

// A CSV field needs no quotes: every one is a number or empty.
std::string MapCsv(const TScenePrepared& p, const TEncodedScenes* encoded) {
  std::string out = "scene,first_line,last_line,bank,characters,offset,length\n";
  for (std::size_t s = 0; s < p.Scenes.size(); ++s) {
    std::u16string chars;
    for (char16_t c : p.Scenes[s].Text)
      if (!SceneBreak(c)) chars += c;
    std::sort(chars.begin(), chars.end());
    const auto distinct = std::unique(chars.begin(), chars.end()) - chars.begin();
    out += std::to_string(s) + "," + std::to_string(p.Scenes[s].FirstLine) + "," +
           std::to_string(p.Scenes[s].LastLine) + ",";
    if (!p.Plan.Banks.empty()) out += FileNumberText(p.FixedFiles + p.Plan.SceneBank[s], p.Plan.Capacity);
    out += "," + std::to_string(distinct) + ",";
    if (encoded != nullptr) out += std::to_string(encoded->Offsets[s]) + "," + std::to_string(encoded->Lengths[s]);
    else out += ",";
    out += "\n";
  }
  return out;
}

std::string MapArrays(TMapFormat format, const TScenePrepared& p, const TEncodedScenes* encoded,
                      const std::string& name, const std::optional<std::string>& encodedName) {
  const bool ca65 = format == TMapFormat::Ca65;
  const std::string open = ca65 ? "; " : "/* ", close = ca65 ? "\n" : " */\n";
  std::string out;
  const std::string guard = name + "_H";
  if (!ca65) out += "#ifndef " + guard + "\n#define " + guard + "\n\n";
  out += open + std::to_string(p.Scenes.size()) + " scenes in script order: " + name +
         "_bank is the file number of each scene's switched bank" + close;
  if (encoded != nullptr && encodedName)
    out += open + name + "_offset is its first byte in " + *encodedName + close;
  out += (ca65 ? "" : "#define ") + name + "_count" + (ca65 ? " = " : " ") + std::to_string(p.Scenes.size()) + "\n";
  std::vector<std::uint64_t> banks;
  if (!p.Plan.Banks.empty())
    for (std::int32_t b : p.Plan.SceneBank) banks.push_back(static_cast<std::uint64_t>(p.FixedFiles + b));
  out += MapArrayText(format, name + "_bank", banks, 16, 0);
  if (encoded != nullptr) out += MapArrayText(format, name + "_offset", encoded->Offsets, 8, 4);
  if (!ca65) out += "\n#endif\n";
  return out;
}

std::string MapFileBytes(const TScenePrepared& p, const TEncodedScenes* encoded, const std::string& fileName,
                         const std::optional<std::string>& encodedName) {
  const std::optional<TMapFormat> format = MapFormatOfName(fileName);
  if (!format) throw std::invalid_argument("a scene map is .csv, .s or .h: " + fileName);
  if (*format == TMapFormat::Csv) return MapCsv(p, encoded);
  std::optional<std::string> shown;
  if (encodedName) shown = encodedName->substr(encodedName->find_last_of("/\\") == std::string::npos
                                                   ? 0
                                                   : encodedName->find_last_of("/\\") + 1);
  return MapArrays(*format, p, encoded, CIdentifier(fileName), shown);
}

}  // namespace

TSceneFitError::TSceneFitError(const std::vector<TScene>& scenes, const TScenePlan& plan)
    : std::runtime_error(FitMessage(scenes, plan)), Capacity(plan.Capacity) {
  for (const TOversizedScene& o : plan.Oversized)
    Items.push_back({o.Scene, scenes[o.Scene].FirstLine, scenes[o.Scene].LastLine, o.Characters});
}

TScenePrepared PrepareSceneExport(const TSceneSource& source, const TChrSettings& settings,
                                  const TSceneOutputs& outputs) {
  const std::int32_t capacity = ExportCapacity(settings);
  if (capacity <= 0) throw std::invalid_argument("these settings give banks of no characters");
  TScenePrepared p;
  p.Scenes = SplitScenes(source.Script, source.Split);
  p.Plan = PlanScenes(p.Scenes, capacity, source.FixedBanks, source.Exclude);
  if (!p.Plan.Oversized.empty()) throw TSceneFitError(p.Scenes, p.Plan);
  p.Codes = PlanCodes(static_cast<std::size_t>(CellsUsed(p.Plan)), outputs.CodeStart, outputs.CodeBytes);

  // The bank files: the fixed banks a capacity each, then one file a switched bank.
  p.BankText = p.Plan.Fixed;
  for (std::size_t start = 0; start < p.Plan.Fixed.size(); start += static_cast<std::size_t>(capacity))
    p.BankStarts.push_back(start);
  p.FixedFiles = static_cast<std::int64_t>(p.BankStarts.size());
  for (const std::u16string& bank : p.Plan.Banks) {
    p.BankStarts.push_back(p.BankText.size());
    p.BankText += bank;
  }

  // Every table is made first: a control code that clashes fails before anything is written.
  if (outputs.Table) {
    if (p.Plan.Banks.empty()) {
      p.Files.emplace_back(*outputs.Table, TableFileBytes(BankEntries(p.Plan, nullptr, p.Codes, outputs.Controls),
                                                          outputs.TableEncoding, *outputs.Table));
    } else {
      const std::string base = ExportBaseName(*outputs.Table);
      for (std::size_t b = 0; b < p.Plan.Banks.size(); ++b) {
        const std::string name =
            base + "." + FileNumberText(p.FixedFiles + static_cast<std::int64_t>(b), capacity) + ".tbl";
        p.Files.emplace_back(name, TableFileBytes(BankEntries(p.Plan, &p.Plan.Banks[b], p.Codes, outputs.Controls),
                                                  outputs.TableEncoding, name));
      }
    }
  } else if (p.Plan.Banks.empty()) {
    BankEntries(p.Plan, nullptr, p.Codes, outputs.Controls);
  } else {
    for (const std::u16string& bank : p.Plan.Banks) BankEntries(p.Plan, &bank, p.Codes, outputs.Controls);
  }
  const TEncodedScenes encoded = EncodeScenes(p.Scenes, p.Plan, p.Codes, outputs.Controls);
  p.LineBreaks = encoded.LineBreaks;
  if (outputs.Encoded) p.Files.emplace_back(*outputs.Encoded, encoded.Bytes);
  if (outputs.Map)
    p.Files.emplace_back(*outputs.Map, MapFileBytes(p, outputs.Encoded ? &encoded : nullptr, *outputs.Map,
                                                    outputs.Encoded));
  return p;
}

TExportResult WriteSceneExport(const TScenePrepared& prepared, std::string_view chosenName,
                               const TChrSettings& settings, TExportOptions options) {
  options.BankStarts = prepared.BankStarts;
  TExportResult result = ExportText(chosenName, settings, prepared.BankText, options);
  if (result.Cancelled) return result;
  for (const auto& [name, bytes] : prepared.Files) {
    WriteFileAtomically(name, bytes);
    if (options.OnWritten) options.OnWritten(name);
  }
  return result;
}

}  // namespace mipofc
