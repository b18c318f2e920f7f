#include <gtest/gtest.h>

#include "compiler/frame_references.h"
#include "project_files.h"

namespace brenvale {
namespace {

using testing::Project;
using testing::receive_frame;
using testing::Row;
using testing::sdo_object;
using testing::table_xml;
using testing::transmit_frame;

Row pdo(const char* frame) {
  Row row{{"COB-ID", "0x181"}, {"Dimension", "1"}, {"Offset", "1"}};
  if (frame) row.emplace_back("Frame_J1939", frame);
  row.emplace_back("Mnemonic", "");
  return row;
}

std::vector<std::string> listed(const FrameReferenceReport& report) {
  std::vector<std::string> lines;
  for (const Error& e : report.unreadable) lines.push_back("unreadable " + e.message);
  for (const DanglingReference& r : report.dangling) lines.push_back(r.file + " " + std::to_string(r.row) + " " + r.frame);
  return lines;
}

TEST(FrameReferences, ListsEveryRowThatNamesAMissingFrame) {
  Project project;
  project.write("RCobDef.xml", table_xml("COBID", {receive_frame("61444", "0"), receive_frame("65262", "0")}));
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("6", "0", "65280", "0")}));
  project.write("TpdoJ1939.xml", table_xml("PDOJ1939", {pdo("2"), pdo("3"), pdo(nullptr), pdo("0x02"), pdo("0")}));
  project.write("RInfoCob.xml", table_xml("RInfoCob", {sdo_object("1", "0x2000", "0", "0"), sdo_object("-1", "0x2001", "0", "0"),
                                                       sdo_object("x", "0x2002", "0", "0")}));
  project.write("pdoJ1939.xml", table_xml("Define_RPDO", {pdo("1"), pdo("2")}));
  // No TInfoCob.xml: nothing to list for it.
  const std::vector<std::string> expected{"TpdoJ1939.xml 2 3",  "TpdoJ1939.xml 5 0", "RInfoCob.xml 2 -1",
                                          "RInfoCob.xml 3 x",   "pdoJ1939.xml 2 2"};
  EXPECT_EQ(listed(find_dangling_frame_references(ConfigFiles{project.folder()})), expected);
}

TEST(FrameReferences, MissingFrameFileMeansNoFrames) {
  Project project;
  project.write("TInfoCob.xml", table_xml("DefineSDOServerTraJ1939", {sdo_object("1", "0x2000", "0", "0")}));
  EXPECT_EQ(listed(find_dangling_frame_references(ConfigFiles{project.folder()})),
            std::vector<std::string>{"TInfoCob.xml 1 1"});
}

TEST(FrameReferences, AnUnreadableFileIsReportedOnce) {
  Project project;
  project.write("RCobDef.xml", "<COBID><row");
  project.write("TpdoJ1939.xml", table_xml("PDOJ1939", {pdo("9")}));
  project.write("RInfoCob.xml", table_xml("RInfoCob", {sdo_object("9", "0x2000", "0", "0")}));
  const FrameReferenceReport report = find_dangling_frame_references(ConfigFiles{project.folder()});
  ASSERT_EQ(report.unreadable.size(), 1u);
  EXPECT_NE(report.unreadable[0].message.find("RCobDef.xml: line 1, column"), std::string::npos);
  EXPECT_TRUE(report.dangling.empty());
}

}  // namespace
}  // namespace brenvale
