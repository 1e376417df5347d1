#include "cli/svg_file.h"

#include <ostream>

#include "cli/file_stream.h"
#include "drawing/atomic_file.h"

namespace cli {

unit_val::Failure WriteSvgFile(const render::DisplayList& list, const render::SvgOptions& options,
                               const std::filesystem::path& destination) {
  using unit_val::Reason;
  jww::PendingFile output(destination);
  if (!output.Create()) {
    return {Reason::kCannotCreateOutput, output.systemError(), output.error()};
  }
  FileStreamBuffer buffer(output.stream());
  std::ostream stream(&buffer);
  render::WriteSvg(list, stream, options);
  stream.flush();
  if (buffer.error()) {
    return {Reason::kCannotWriteOutput, buffer.error(),
            "cannot write the file: " + buffer.error().message()};
  }
  if (!output.Close(true)) {
    return {Reason::kCannotWriteOutput, output.systemError(), output.error()};
  }
  if (!output.Commit()) {
    return {Reason::kCannotMoveIntoPlace, output.systemError(), output.error()};
  }
  return {};
}

}  // namespace cli
