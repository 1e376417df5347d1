#include "conversion/convert_file.h"

#include <system_error>

#include "conversion/backup.h"
#include "conversion/failure_reason.h"
#include "conversion/path_text.h"
#include "drawing/atomic_file.h"
#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

bool HasImages(const jww::Drawing& drawing) {
  for (const jww::TBindImageType& image : drawing.images) {
    if (!image.name.empty() && image.size > 0) return true;
  }
  return false;
}

// Frees the drawing and its image temp files however the conversion ends.
class DrawingInUse {
 public:
  DrawingInUse(jww::Drawing& drawing, const TempFolder* tempFolder)
      : drawing_(drawing), tempFolder_(tempFolder) {
    const bool canExtract = tempFolder && tempFolder->ok();
    drawing_.imageOptions.readSection = true;
    // Without a folder the image entries are still read, so that a drawing
    // with images is refused instead of losing them.
    drawing_.imageOptions.extract = canExtract;
    drawing_.imageOptions.tempFolder = canExtract ? tempFolder->path() : fs::path();
  }
  DrawingInUse(const DrawingInUse&) = delete;
  DrawingInUse& operator=(const DrawingInUse&) = delete;
  ~DrawingInUse() {
    const bool extracted = drawing_.imageOptions.extract && !drawing_.images.empty();
    drawing_.DeleteImageFiles();
    if (extracted) tempFolder_->RemoveLeftovers();
    drawing_.ClearImageList();
    drawing_.Free();
  }

 private:
  jww::Drawing& drawing_;
  const TempFolder* tempFolder_;
};

ConvertOutcome Failed(ConvertOutcome outcome, ConvertStage stage, Failure failure) {
  outcome.failedStage = stage;
  if (EnglishText(failure).empty()) failure.detail = "unknown error";
  outcome.failure = std::move(failure);
  return outcome;
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace

namespace {

Reason LoadReason(jww::LoadFailure failure) {
  switch (failure) {
    case jww::LoadFailure::kNotJww:
      return Reason::kNoSignature;
    case jww::LoadFailure::kNotRegularFile:
      return Reason::kNotRegularFile;
    case jww::LoadFailure::kCannotOpen:
      return Reason::kCannotOpenSource;
    case jww::LoadFailure::kCannotRead:
      return Reason::kCannotReadSource;
    case jww::LoadFailure::kImageCutShort:
      return Reason::kImageCutShort;
    case jww::LoadFailure::kOutOfMemory:
      return Reason::kOutOfMemory;
    case jww::LoadFailure::kNone:
    case jww::LoadFailure::kDamaged:
      break;
  }
  return Reason::kDamagedDrawing;
}

}  // namespace

Failure LoadFailed(const jww::LoadResult& loaded) {
  return {LoadReason(loaded.failure), loaded.systemError, loaded.error};
}

const char* ConvertStageName(ConvertStage stage) {
  switch (stage) {
    case ConvertStage::kLoad:
      return "load";
    case ConvertStage::kBackup:
      return "backup";
    case ConvertStage::kSave:
      return "save";
    case ConvertStage::kPlan:
      return "plan";
    case ConvertStage::kNone:
      break;
  }
  return "none";
}

PreparedConversion PrepareConversion(const fs::path& source, const fs::path& destination,
                                     const ConversionSettings& settings,
                                     const ConvertContext& context, OutputSync sync) {
  PreparedConversion prepared{destination, {}, nullptr, 0};
  ConvertOutcome& outcome = prepared.outcome;
  jww::Drawing& drawing = context.drawing;
  DrawingInUse inUse(drawing, context.tempFolder);

  const jww::LoadResult loaded = jww::LoadJww(drawing, source);
  if (!loaded) {
    outcome = Failed(outcome, ConvertStage::kLoad, LoadFailed(loaded));
    return prepared;
  }
  if (!drawing.imageOptions.extract && HasImages(drawing)) {
    const std::string why = context.tempFolder ? context.tempFolder->error() : "no temp folder";
    outcome = Failed(outcome, ConvertStage::kLoad, CannotExtractImages(why));
    return prepared;
  }
  outcome.version = drawing.header.version;
  outcome.counts = SweepTexts(drawing, settings);
  if (context.dryRun) return prepared;

  auto output = std::make_unique<jww::PendingFile>(destination);
  const jww::SaveResult written = jww::WriteJww(drawing, *output, outcome.version);
  if (!written) {
    const bool created = output->stream() != nullptr;
    outcome =
        Failed(outcome, ConvertStage::kSave,
               {created ? Reason::kCannotWriteOutput : Reason::kCannotCreateOutput,
                written.writeError ? written.writeError : output->systemError(), written.error});
    return prepared;
  }
  prepared.outputBytes = written.bytes;
  if (!output->Close(sync == OutputSync::kNow)) {
    outcome = Failed(outcome, ConvertStage::kSave,
                     {Reason::kCannotWriteOutput, output->systemError(), output->error()});
    return prepared;
  }
  prepared.output = std::move(output);
  prepared.synced = sync == OutputSync::kNow;
  return prepared;
}

ConvertOutcome FinishConversion(PreparedConversion& prepared) {
  ConvertOutcome outcome = prepared.outcome;
  if (!outcome.converted() || !prepared.output) return outcome;
  std::unique_ptr<jww::PendingFile> output = std::move(prepared.output);

  DestinationBackup backup(prepared.destination);
  const BackupOutcome kept = backup.Make();
  if (kept.failed()) {
    outcome.olderBackupAside = backup.olderLeftAside();
    return Failed(outcome, ConvertStage::kBackup, kept.failure);
  }

  if (!output->Commit()) {
    std::string reason = output->error();
    if (!backup.Undo()) {
      reason += "; the former file stays as " + PathText(BackupPath(prepared.destination));
    }
    outcome.olderBackupAside = backup.olderLeftAside();
    if (!outcome.olderBackupAside.empty()) {
      reason += OlderBackupStaysText(outcome.olderBackupAside);
    }
    return Failed(outcome, ConvertStage::kSave,
                  {Reason::kCannotMoveIntoPlace, output->systemError(), std::move(reason)});
  }
  if (prepared.keepOlderBackup) {
    outcome.olderBackupKept = backup.KeepOlderAside();
  } else {
    outcome.failure = backup.Keep();
  }
  outcome.olderBackupAside = backup.olderLeftAside();
  outcome.backupMade = kept.result == BackupResult::kKept;
  return outcome;
}

ConvertOutcome ConvertFile(const fs::path& source, const fs::path& destination,
                           const ConversionSettings& settings, const ConvertContext& context) {
  // No batch plan stands behind one file: the output must not be written
  // over the drawing it is read from. The drawing is still read, so the
  // failure tells what it holds as any other does.
  if (!context.dryRun && SameFile(source, destination)) {
    ConvertContext readOnly = context;
    readOnly.dryRun = true;
    const PreparedConversion read =
        PrepareConversion(source, destination, settings, readOnly, OutputSync::kNow);
    if (read.outcome.failedStage != ConvertStage::kNone) return read.outcome;
    return Failed(read.outcome, ConvertStage::kBackup, DestinationIsTheSourceFile());
  }
  PreparedConversion prepared =
      PrepareConversion(source, destination, settings, context, OutputSync::kNow);
  return FinishConversion(prepared);
}

}  // namespace unit_val
