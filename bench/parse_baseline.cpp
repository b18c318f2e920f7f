// The yardstick of the compile benchmark: a process that only parses the ten table files of a
// configuration with pugixml and touches every element, attribute and text, then prints a sum so
// that nothing can be skipped.
#include <cstdio>
#include <string>

#include <pugixml.hpp>

namespace {

unsigned long touch(pugi::xml_node node) {
  unsigned long sum = 0;
  for (pugi::xml_attribute a : node.attributes()) {
    for (const char* p = a.name(); *p; ++p) sum += static_cast<unsigned char>(*p);
    for (const char* p = a.value(); *p; ++p) sum += static_cast<unsigned char>(*p);
  }
  for (const char* p = node.value(); *p; ++p) sum += static_cast<unsigned char>(*p);
  for (pugi::xml_node child : node.children()) sum += touch(child);
  return sum;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: parse_baseline PROJECT_DIR\n");
    return 2;
  }
  static const char* const kFiles[] = {"ParGen.xml",   "RCobDef.xml",   "TCobDef.xml",   "RInfoCob.xml",
                                       "TInfoCob.xml", "TpdoJ1939.xml", "pdoJ1939.xml",  "NodeGuard.xml",
                                       "NG_J1939_Frame.xml", "SDOClient.xml"};
  unsigned long sum = 0;
  for (const char* name : kFiles) {
    pugi::xml_document doc;
    const std::string path = std::string(argv[1]) + "/" + name;
    if (!doc.load_file(path.c_str())) {
      std::fprintf(stderr, "%s: cannot be parsed\n", path.c_str());
      return 1;
    }
    sum += touch(doc);
  }
  std::printf("%lu\n", sum);
  return 0;
}
