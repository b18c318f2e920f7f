// The row tables of a configuration (J1939 frames, PDOs) are grids of texts: every cell holds
// the text the user typed and is stored as typed. Each table describes its columns once, and
// that description drives loading, saving, which columns a variant shows and how rows move.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "project/result.h"
#include "settings/ethernet_port.h"
#include "text/catalogue.h"

namespace brenvale {

// The two entries of every data-page list.
inline constexpr std::array<const char*, 2> kDataPageChoices = {"0", "1"};

// How a cell is edited in a window.
enum class CellEditor {
  kText,   // free text
  kList,   // drop-down list without free text
  kCheck,  // Y/N check box; empty until first set
};

// How a column meets its XML attribute.
enum class CellStorage {
  kPlain,        // the cell text; `fallback` when the attribute is missing, or an error when required
  kFixed,        // not read: loaded rows get `fallback`; saved rows always get `fallback`
  kFrameNumber,  // the cell shows a frame choice; the file holds the frame's position (left out when none)
};

struct ColumnDescriptor {
  int header;                 // catalogue index of the column header
  const char* attribute;      // XML attribute of the row element
  CellStorage storage;
  bool required;              // a missing attribute refuses the file
  const char* fallback;       // text of a missing (or fixed) attribute
  bool hidden_without_port;   // hidden unless the configuration has an Ethernet port
  bool always_hidden;         // never shown
  CellEditor editor;
};

// A frame choice of the PDO tables: "n;PGN;ID_DEV;" and the frame's data length in bytes.
struct FrameChoice {
  std::string text;
  int length = 8;
};

// The first failing check of a table: "Error in row " (catalogue `prefix`) + row + the check's
// text (catalogue `message`), followed by `number` in decimal when the check embeds one.
struct RowFailure {
  int row = 0;  // counted from 1
  int prefix = 0;
  int message = 0;
  std::optional<int> number;

  bool operator==(const RowFailure&) const = default;
};

std::string failure_text(const Catalogue& catalogue, const RowFailure& failure);

// Blanks (and other control characters) removed at both ends.
std::string_view trim_blanks(std::string_view text);

class CellTable {
 public:
  CellTable(std::span<const ColumnDescriptor> columns, int row_count);

  int row_count() const { return row_count_; }
  int column_count() const { return static_cast<int>(columns_.size()); }
  std::span<const ColumnDescriptor> columns() const { return columns_; }

  // Rows and columns counted from 0.
  const std::string& cell(int row, int column) const;
  void set_cell(int row, int column, std::string text);

  // Whether a column is on screen for this variant; hidden cells still load, move and save.
  bool column_shown(int column, EthernetPort port) const;

  // Rows row … last-1 move down with every cell; the last row's content is lost; `row` becomes
  // empty. A row outside the table changes nothing.
  void insert_row(int row);
  // Rows row+1 … last move up with every cell; the last row becomes empty.
  void delete_row(int row);

  // Fills the rows from the element children of `root`, in order; children beyond the last row
  // are ignored. Frame-number columns show frame_choices[n - 1] for 1 <= n <= size, else empty.
  Status load_rows(pugi::xml_node root, const std::filesystem::path& file,
                   std::span<const FrameChoice> frame_choices = {});

  // The same from a table file; a file that does not exist leaves the table as it is.
  Status load_file(const std::filesystem::path& file, std::span<const FrameChoice> frame_choices = {});

  // The number of rows from the first up to, not including, the first row whose `key_column`
  // is empty after trimming: the table's content.
  int content_rows(int key_column) const;

  // The file text: root element, the version comment, one `row` per content row with every
  // column's attribute in column order.
  std::string file_text(const char* root_name, int key_column) const;
  Status save(const std::filesystem::path& path, const char* root_name, int key_column) const;

 private:
  std::span<const ColumnDescriptor> columns_;
  int row_count_;
  std::vector<std::string> cells_;
};

// The element children of a node, the rows of a table file whatever their names.
std::vector<pugi::xml_node> element_children(pugi::xml_node node);

// The frame number stored for a chosen frame: the text before the first ";" as an integer when it
// is greater than 0.
std::optional<int> frame_number_of_choice(std::string_view choice);

}  // namespace brenvale
