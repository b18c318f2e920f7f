#include <gtest/gtest.h>

#include "project/xml_table.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

TEST(XmlTable, WritesRootThenCommentWithoutDeclarationOrIndentation) {
  XmlWriter writer("COBID");
  writer.add_row({{"DP", "0"}, {"PGN", "61444"}, {"ID_DEV", ""}, {"Mnemonic", "a<b & \"c\""}});
  EXPECT_EQ(writer.text(),
            "<COBID><row DP=\"0\" PGN=\"61444\" ID_DEV=\"\" Mnemonic=\"a&lt;b &amp; &quot;c&quot;\"/></COBID>"
            "<!--SW_VERSION = 2.001-->");
}

TEST(XmlTable, EmptyTableIsTheRootAndTheComment) {
  XmlWriter writer("PDOJ1939");
  EXPECT_EQ(writer.text(), "<PDOJ1939/><!--SW_VERSION = 2.001-->");
}

TEST(XmlTable, RoundTripKeepsTextsAndTellsMissingFromEmpty) {
  TempDir dir;
  XmlWriter writer("COBID");
  writer.add_row({{"PGN", " 12 "}, {"Mnemonic", ""}});
  ASSERT_TRUE(writer.save(dir / "t.xml").ok());
  Result<XmlDocument> doc = load_xml_file(dir / "t.xml");
  ASSERT_TRUE(doc.ok());
  const pugi::xml_node row = doc->root().first_child();
  EXPECT_EQ(attribute(row, "PGN"), " 12 ");
  EXPECT_EQ(attribute(row, "Mnemonic"), "");
  EXPECT_EQ(attribute(row, "DP"), std::nullopt);
}

TEST(XmlTable, RootIsTheFirstNodeWhateverItsName) {
  Result<XmlDocument> doc = parse_xml_text("<?xml version=\"1.0\"?><!--x--><Other><row/></Other>", "t.xml");
  ASSERT_TRUE(doc.ok());
  EXPECT_STREQ(doc->root().name(), "Other");
}

TEST(XmlTable, ParseErrorNamesFileLineAndColumn) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", "<COBID>\n<row PGN=\"1\">\n</COBID>");
  Result<XmlDocument> doc = load_xml_file(dir / "RCobDef.xml");
  ASSERT_FALSE(doc.ok());
  const std::string& message = doc.error().message;
  EXPECT_NE(message.find("RCobDef.xml"), std::string::npos) << message;
  EXPECT_NE(message.find("line 3"), std::string::npos) << message;
  EXPECT_NE(message.find("column"), std::string::npos) << message;
}

TEST(XmlTable, EmptyOrMissingFileIsAnError) {
  TempDir dir;
  write_text(dir / "e.xml", "");
  EXPECT_FALSE(load_xml_file(dir / "e.xml").ok());
  EXPECT_FALSE(load_xml_file(dir / "none.xml").ok());
}

TEST(XmlTable, ChildTextTellsMissingFromEmpty) {
  Result<XmlDocument> doc = parse_xml_text("<Par_Gen><A>x</A><B/></Par_Gen>", "p.xml");
  ASSERT_TRUE(doc.ok());
  EXPECT_EQ(child_text(doc->root(), "A"), "x");
  EXPECT_EQ(child_text(doc->root(), "B"), "");
  EXPECT_EQ(child_text(doc->root(), "C"), std::nullopt);
}

}  // namespace
}  // namespace brenvale
