// Converting one JWW drawing: load, retype the free-size texts in scope,
// write the result under the destination path, keeping a file that stood
// there as its ".BAK" backup.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "conversion/conversion_settings.h"
#include "conversion/failure_reason.h"
#include "conversion/temp_folder.h"
#include "conversion/text_sweep.h"
#include "drawing/atomic_file.h"
#include "drawing/jww_loader.h"
#include "drawing/jwwunit.h"

namespace unit_val {

enum class ConvertStage {
  kNone,    // converted
  kPlan,    // not started: its destination or backup name is another file's in the run
  kLoad,    // the source could not be read (or its images not extracted)
  kBackup,  // the file at the destination could not be kept as its backup
  kSave,    // the converted drawing could not be written into place
};

struct ConvertOutcome {
  ConvertStage failedStage = ConvertStage::kNone;
  // Why, when failed (its English never empty then); when converted, the
  // warning that something was left behind (an older backup), if any.
  Failure failure{};
  SweepCounts counts;       // what the sweep did (also on a dry run or a failed save)
  bool backupMade = false;  // a file at the destination became its ".BAK"
  // An older ".BAK" that stays under a name of ours (".quillon-….old"),
  // named in `failure`; empty when there is none.
  std::filesystem::path olderBackupAside{};
  // The older ".BAK" the new one replaced, kept aside under a name of ours
  // so that the run can be undone (see PreparedConversion::keepOlderBackup).
  std::filesystem::path olderBackupKept{};
  std::int32_t version = 0;  // the source's version, written again
  bool converted() const { return failedStage == ConvertStage::kNone; }
  // The load found no "JwwData." signature: not a failure.
  bool notDrawing() const { return failure.code == Reason::kNoSignature; }
};

// The reason a failed load gives (kNone, kDamaged: a damaged drawing).
Failure LoadFailed(const jww::LoadResult& loaded);

// "load", "backup", "save", "plan"; "none" for kNone.
const char* ConvertStageName(ConvertStage stage);

struct ConvertContext {
  // The drawing tables; empty before and after every call.
  jww::Drawing& drawing;
  // Where embedded images are extracted while a drawing is converted. A
  // drawing with images fails to convert when this is missing or not made.
  const TempFolder* tempFolder = nullptr;
  // Load and classify only: nothing is written, renamed or deleted.
  bool dryRun = false;
};

// A drawing converted and written completely beside its destination, not
// yet moved into place.
struct PreparedConversion {
  std::filesystem::path destination;
  ConvertOutcome outcome;
  std::unique_ptr<jww::PendingFile> output;  // none on failure or a dry run
  std::uint64_t outputBytes = 0;             // the size of the output
  bool synced = false;                       // the output is on disk already
  // An older ".BAK" the backup replaces is kept aside (for undo) instead of
  // deleted.
  bool keepOlderBackup = false;
};

// Whether a prepared output is synced to disk as it is written, or left to
// the caller to make durable (one file-system sync for many files, or
// SyncClosed on each) before FinishConversion.
enum class OutputSync { kNow, kByCaller };

// The first half of ConvertFile: loads, retypes and writes the output under a
// temporary name in the destination folder. Nothing at the destination or
// its backup changes; the drawing is freed and image temp files deleted.
PreparedConversion PrepareConversion(const std::filesystem::path& source,
                                     const std::filesystem::path& destination,
                                     const ConversionSettings& settings,
                                     const ConvertContext& context, OutputSync sync);

// The second half: keeps an existing destination file as its backup and
// moves the output into place, undoing the backup if that fails. A prepared
// conversion dropped without finishing leaves nothing behind.
ConvertOutcome FinishConversion(PreparedConversion& prepared);

// Converts one drawing. Nothing half-written ever appears at the destination:
// the output is written completely beside it first, then an existing file is
// moved to its backup and the output moved into place. On any failure the
// destination and its backup are as they were. Image temp files are deleted
// and the drawing freed on every path.
ConvertOutcome ConvertFile(const std::filesystem::path& source,
                           const std::filesystem::path& destination,
                           const ConversionSettings& settings, const ConvertContext& context);

}  // namespace unit_val
