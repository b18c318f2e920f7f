#include "eds/eds_writer.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "eds/eds_lines.h"
#include "project/atomic_file.h"
#include "settings/ethernet_port.h"

namespace brenvale {

Result<EdsInputs> read_eds_inputs(const ConfigFiles& files) {
  Result<PdoSummaries> pdos = read_pdo_summaries(files);
  if (!pdos) return pdos.error();
  Result<std::vector<SDO_Index>> objects = read_server_sdo_objects(files.sdo_read(), files.sdo_write());
  if (!objects) return objects.error();
  return EdsInputs{std::move(pdos).value(), std::move(objects).value()};
}

Result<std::string> eds_text(EdsTemplate which, EdsInputs inputs, const LocalTime& time) {
  for (std::vector<PdoSummary>* list : {&inputs.pdos.receive, &inputs.pdos.transmit}) {
    if (list->size() > kMaxEdsPdos) list->resize(kMaxEdsPdos);
  }
  sort_by_sub_index(inputs.sdo_objects);
  if (which == EdsTemplate::kWithPort) return eds_detail::with_port_text(inputs);
  return eds_detail::without_port_text(inputs, eds_date_text(time), eds_time_text(time));
}

Status write_eds(EdsTemplate which, const ConfigFiles& files, const std::filesystem::path& output,
                 const EdsClock& clock) {
  Result<EdsInputs> inputs = read_eds_inputs(files);
  if (!inputs) return inputs.error();
  Result<LocalTime> now = clock();
  if (!now) return now.error();
  Result<std::string> text = eds_text(which, std::move(inputs).value(), *now);
  if (!text) return text.error();
  return write_file_atomic(output, *text);
}

EdsTemplate eds_template_for(const ConfigFiles& files) {
  return has_ethernet_port(ethernet_port_test(files.par_gen())) ? EdsTemplate::kWithPort : EdsTemplate::kWithoutPort;
}

Status write_eds_for_configuration(const ConfigFiles& files, const std::filesystem::path& chosen,
                                   const EdsClock& clock) {
  return write_eds(eds_template_for(files), files, with_eds_extension(chosen), clock);
}

std::filesystem::path with_eds_extension(const std::filesystem::path& typed) {
  if (typed.empty() || !typed.has_filename() || typed.has_extension()) return typed;
  std::filesystem::path completed = typed;
  completed += ".eds";
  return completed;
}

}  // namespace brenvale
