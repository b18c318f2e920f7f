// The electronic data sheet (EDS) of the configured converter, for the CANopen master. Two
// templates exist, one per hardware variant; most of each is fixed, and the configuration adds
// its PDOs and its server SDO objects. The whole text is built in memory and written in one
// piece, so a failed generation leaves any earlier file as it was.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "eds/eds_inputs.h"
#include "eds/eds_time.h"
#include "project/project_store.h"
#include "project/result.h"

namespace brenvale {

enum class EdsTemplate { kWithPort, kWithoutPort };

// The PDO files, then the read and the write server SDO files of a configuration.
Result<EdsInputs> read_eds_inputs(const ConfigFiles& files);

// The text of the data sheet: CR LF line ends, ASCII. `time` stamps the without-port template
// only. The entries of every SDO_Index are written in sub-index order. A server SDO object whose
// index the template describes itself (the PDO data objects of the device without Ethernet
// port, for example) is refused.
Result<std::string> eds_text(EdsTemplate which, EdsInputs inputs, const LocalTime& time);

using EdsClock = std::function<Result<LocalTime>()>;

// Reads the configuration, builds the text and replaces `output` with it. Any error (an
// unreadable table file, two sizes for one server SDO object, a server SDO index the template
// uses itself, a bad clock, a failed write) comes back as a message and leaves `output` as it
// was.
Status write_eds(EdsTemplate which, const ConfigFiles& files, const std::filesystem::path& output,
                 const EdsClock& clock = local_time_now);

// The template of a configuration's hardware variant, by the Ethernet-port test on ParGen.xml:
// with port (also without ParGen.xml) the with-port template, otherwise the without-port one.
EdsTemplate eds_template_for(const ConfigFiles& files);

// The "EDS File" step once the user has chosen a file: the template by the Ethernet-port test,
// the name completed by with_eds_extension, then write_eds.
Status write_eds_for_configuration(const ConfigFiles& files, const std::filesystem::path& chosen,
                                   const EdsClock& clock = local_time_now);

// The save dialog's file type.
inline constexpr const char* kEdsFileFilter = "Electronic Data Sheet (*.eds)";
inline constexpr const char* kEdsExtension = "eds";

// A file name typed without an extension gets ".eds"; any other name is kept as typed.
std::filesystem::path with_eds_extension(const std::filesystem::path& typed);

}  // namespace brenvale
