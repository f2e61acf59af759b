#pragma once
// The host's in-memory table (a client dataset): typed fields, a cursor,
// editing, named indexes, filters, Locate, data packets and files.
//
// Texts compare without their trailing blanks, and a Null text equals the
// empty text, everywhere (filters, Locate, index order); the bytes stored are
// kept as given. Field objects live as long as the dataset's structure does.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hostrt/datetime.h"
#include "hostrt/variant.h"

namespace hostrt {

enum class FieldType { String, Integer, Float, Boolean, DateTime };
enum class DataSetState { Inactive, Browse, Edit, Insert };

// Locate options (may be or-ed).
enum LocateOption : int { loCaseInsensitive = 1, loPartialKey = 2 };

// Raised for misuse and bad data: unknown field, writing outside edit/insert,
// a filter text that does not parse, a damaged packet or file. The message
// says what and where.
class DataSetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ClientDataSet;

// A field of the current record. Reads give the current record's value
// (Null reads as "", 0, False, 0.0); writes need Edit or Insert state.
class Field {
 public:
  const std::string& FieldName() const { return name_; }
  FieldType DataType() const { return type_; }
  int Size() const { return size_; }

  bool IsNull() const;
  Variant Value() const;
  void SetValue(const Variant& value);  // converted to the field's type; EConvertError/VariantError when impossible
  void Clear();                         // sets Null

  std::string AsString() const;         // numbers with FloatToStr, dates with DateTimeToStr
  double AsFloat() const;
  std::int64_t AsInteger() const;
  bool AsBoolean() const;
  DateTime AsDateTime() const;
  void SetAsString(std::string_view v);  // text fields keep at most Size() characters
  void SetAsFloat(double v);
  void SetAsInteger(std::int64_t v);
  void SetAsBoolean(bool v);
  void SetAsDateTime(DateTime v);

 private:
  friend class ClientDataSet;
  Field(ClientDataSet* owner, int index, std::string name, FieldType type, int size)
      : owner_(owner), index_(index), name_(std::move(name)), type_(type), size_(size) {}
  ClientDataSet* owner_;
  int index_;
  std::string name_;
  FieldType type_;
  int size_;
};

class ClientDataSet {
 public:
  explicit ClientDataSet(std::string name = "");
  ~ClientDataSet();
  ClientDataSet(const ClientDataSet&) = delete;
  ClientDataSet& operator=(const ClientDataSet&) = delete;

  const std::string& Name() const { return name_; }

  // Structure. Field definitions are set while inactive (a text field of
  // size 0 has no length limit); CreateDataSet opens an empty table with them.
  void AddFieldDef(std::string name, FieldType type, int size = 0);
  void ClearFieldDefs();
  void CreateDataSet();
  void Open();    // needs field definitions (or data set by SetData/LoadFromFile)
  void Close();   // keeps definitions and rows are discarded
  bool Active() const;

  int FieldCount() const;
  Field& Fields(int index);
  Field& FieldByName(std::string_view name);   // case-insensitive; DataSetError when absent
  Field* FindField(std::string_view name);     // nullptr when absent

  // Cursor over the visible rows (filter applied) in the current index order.
  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const;
  bool Bof() const;
  bool IsEmpty() const;
  int RecordCount() const;   // visible rows
  int RecNo() const;         // 1-based position among visible rows; 0 when empty
  void SetRecNo(int recno);

  // Editing. Append/Insert start a new row (Insert before the current one in
  // natural order); Post stores it, Cancel drops it; moving the cursor posts
  // a pending edit. Edit on an empty dataset starts a new row. Delete removes
  // the current row and leaves the cursor on the next visible one; after the
  // last one it stays on the new last row with Eof set, so a loop
  // "while (!Eof()) if (...) Delete(); else Next();" visits every row.
  void Append();
  void Insert();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void EmptyDataSet();
  DataSetState State() const;

  // Indexes: "F1;F2" fields, descending ones named in desc_fields.
  void AddIndex(std::string name, std::string fields, std::string desc_fields = "", bool case_insensitive = false);
  void SetIndexName(std::string_view name);   // "" = natural order; the cursor stays on its row
  const std::string& IndexName() const;
  void SetIndexFieldNames(std::string_view fields);  // ad hoc ascending index
  std::vector<std::string> IndexNames() const;

  // Filters: = <> != < > <= >=, AND OR NOT, IS [NOT] NULL, parentheses,
  // quoted texts ('' for a quote), numbers, TRUE/FALSE, [field names],
  // case-insensitive keywords (a blank before AND is not needed). A number
  // against a text field compares numerically when the text reads as a number
  // (IDTIPORECE = 5 holds for "5"). A text that does not parse raises
  // DataSetError naming the text and position when the filter is applied, and
  // the previous filter stays in force.
  void SetFilter(std::string_view text);
  const std::string& Filter() const;
  void SetFiltered(bool filtered);
  bool Filtered() const;

  // Moves to the first visible row, in the current order, whose fields
  // "F1;F2" equal the values (a single value, or a Variant array for several
  // fields); returns false and leaves the cursor when there is none, also for
  // a value the field could never hold. Uses the current index, or another
  // index, whose leading fields are the key fields (binary search), else scans.
  bool Locate(std::string_view key_fields, const Variant& key_values, int options = 0);

  // Data packets: the whole table (every row, filter or not, a pending edit
  // included) with its field and index definitions and its current index, as
  // bytes in a Variant (layout: docs/dataset-format.md). SetData replaces
  // structure and rows and keeps the filter; a Null or Empty Variant closes
  // the dataset. A damaged packet raises DataSetError and changes nothing.
  Variant Data() const;
  void SetData(const Variant& packet);
  // Copies structure, index definitions and rows of another dataset (its
  // visible rows, in its order). A closed dataset's Data() is Null, and
  // copying a closed dataset closes this one.
  void CopyFrom(const ClientDataSet& other);

  // Files hold one data packet. Saving is atomic (write aside, rename); a
  // damaged or truncated file raises DataSetError and the dataset is unchanged.
  void SaveToFile(const std::string& path) const;
  void LoadFromFile(const std::string& path);

  // A dataset bound to a file: Open loads it (when it exists) and Close saves
  // the table back to it. Destroying the dataset does not save.
  void SetFileName(std::string path);
  const std::string& FileName() const;

 private:
  friend class Field;
  struct Impl;
  void BindFields();  // one Field object per definition
  std::string name_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace hostrt
