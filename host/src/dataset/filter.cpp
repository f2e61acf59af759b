#include "filter.h"

#include <optional>
#include <string>

#include "hostrt/format.h"
#include "platform/numbers.h"

namespace hostrt::dataset_detail {
namespace {

// ---- tokens ---------------------------------------------------------------

enum class Tok { End, Name, Text, Number, LParen, RParen, Op, Minus };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // name, unquoted text, number digits or operator
  std::size_t pos = 0;  // 1-based
};

bool IsNameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0xC0; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  [[noreturn]] void Fail(std::size_t pos, const std::string& what) const {
    throw DataSetError("Invalid filter '" + std::string(text_) + "': " + what + " at position " +
                       platform::to_text(pos));
  }

  Token Next() {
    while (i_ < text_.size() && (text_[i_] == ' ' || text_[i_] == '\t' || text_[i_] == '\r' || text_[i_] == '\n')) ++i_;
    Token t;
    t.pos = i_ + 1;
    if (i_ >= text_.size()) return t;
    const char c = text_[i_];
    if (c == '\'') {
      t.kind = Tok::Text;
      for (++i_;; ++i_) {
        if (i_ >= text_.size()) Fail(t.pos, "unterminated text");
        if (text_[i_] == '\'') {
          if (i_ + 1 < text_.size() && text_[i_ + 1] == '\'') {
            t.text += '\'';
            ++i_;
            continue;
          }
          ++i_;
          return t;
        }
        t.text += text_[i_];
      }
    }
    if (c == '[') {
      const std::size_t close = text_.find(']', i_);
      if (close == std::string_view::npos) Fail(t.pos, "unterminated field name");
      t.kind = Tok::Name;
      t.text = std::string(text_.substr(i_ + 1, close - i_ - 1));
      if (t.text.empty()) Fail(t.pos, "empty field name");
      i_ = close + 1;
      return t;
    }
    if (IsDigit(c) || (c == '.' && i_ + 1 < text_.size() && IsDigit(text_[i_ + 1]))) {
      t.kind = Tok::Number;
      bool dot = false;
      while (i_ < text_.size() && (IsDigit(text_[i_]) || (text_[i_] == '.' && !dot))) {
        dot = dot || text_[i_] == '.';
        t.text += text_[i_++];
      }
      return t;
    }
    if (IsNameStart(static_cast<unsigned char>(c))) {
      t.kind = Tok::Name;
      while (i_ < text_.size() && IsNameChar(static_cast<unsigned char>(text_[i_]))) t.text += text_[i_++];
      return t;
    }
    ++i_;
    switch (c) {
      case '(': t.kind = Tok::LParen; return t;
      case ')': t.kind = Tok::RParen; return t;
      case '-': t.kind = Tok::Minus; return t;
      case '=': t.kind = Tok::Op; t.text = "="; return t;
      case '<':
      case '>':
      case '!': {
        t.kind = Tok::Op;
        t.text = c;
        if (i_ < text_.size() && (text_[i_] == '=' || (c == '<' && text_[i_] == '>'))) t.text += text_[i_++];
        if (t.text == "!") Fail(t.pos, "unexpected '!'");
        return t;
      }
      default:
        Fail(t.pos, std::string("unexpected character '") + c + "'");
    }
  }

 private:
  std::string_view text_;
  std::size_t i_ = 0;
};

bool IsKeyword(const Token& t, std::string_view word) {
  return t.kind == Tok::Name && SameName(t.text, word);
}

// ---- values ---------------------------------------------------------------

enum class Kind { Null, Text, Number, Bool, Date };

struct Operand {
  Kind kind = Kind::Null;  // for a field: the kind its values have
  int field = -1;          // -1 for a constant
  FieldType type = FieldType::String;
  std::string text;
  double number = 0;
  bool boolean = false;
  // Readings of a constant text, made once.
  bool text_is_number = false;
  double text_number = 0;
  bool text_is_date = false;
  double text_date = 0;
  bool text_is_bool = false;
  bool text_bool = false;
};

struct Value {
  Kind kind = Kind::Null;
  std::string_view text;
  double number = 0;
  bool boolean = false;
  const Operand* constant = nullptr;  // set for constant texts
};

Value Read(const Operand& o, const Row& row) {
  Value v;
  v.kind = o.kind;
  if (o.field < 0) {
    v.text = o.text;
    v.number = o.number;
    v.boolean = o.boolean;
    v.constant = &o;
    return v;
  }
  const Cell& c = row.cells[static_cast<std::size_t>(o.field)];
  if (IsNullCell(c)) {
    if (o.type != FieldType::String) v.kind = Kind::Null;
    return v;  // a Null text field reads as empty text
  }
  switch (o.type) {
    case FieldType::String: v.text = std::get<std::string>(c); break;
    case FieldType::Integer: v.number = static_cast<double>(std::get<std::int64_t>(c)); break;
    case FieldType::Float:
    case FieldType::DateTime: v.number = std::get<double>(c); break;
    case FieldType::Boolean: v.boolean = std::get<bool>(c); break;
  }
  return v;
}

int Sign(double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); }

bool TextAsNumber(const Value& v, double& out) {
  if (v.constant) {
    out = v.constant->text_number;
    return v.constant->text_is_number;
  }
  return ParseNumber(v.text, out);
}

bool TextAsDate(const Value& v, double& out) {
  if (v.constant) {
    out = v.constant->text_date;
    return v.constant->text_is_date;
  }
  DateTime dt;
  if (!TryStrToDateTime(std::string(TrimRight(v.text)), dt)) return false;
  out = dt.value;
  return true;
}

bool TextAsBool(std::string_view text, bool& out) {
  text = TrimRight(text);
  if (CompareText(text, "TRUE", true) == 0) return out = true, true;
  if (CompareText(text, "FALSE", true) == 0) return out = false, true;
  return false;
}

bool TextAsBool(const Value& v, bool& out) {
  if (v.constant) {
    out = v.constant->text_bool;
    return v.constant->text_is_bool;
  }
  return TextAsBool(v.text, out);
}

// Three-way comparison of two non-Null values; nullopt when they cannot be
// compared (text that is no number against a number, for instance).
std::optional<int> Compare(const Value& a, const Value& b) {
  if (a.kind != Kind::Text && b.kind == Kind::Text) {
    auto r = Compare(b, a);
    if (r) r = -*r;
    return r;
  }
  double x = 0;
  switch (a.kind) {
    case Kind::Text:
      switch (b.kind) {
        case Kind::Text: return CompareText(a.text, b.text, false);
        case Kind::Number:
          if (!TextAsNumber(a, x)) return std::nullopt;
          return Sign(x, b.number);
        case Kind::Date:
          if (!TextAsDate(a, x)) return std::nullopt;
          return Sign(x, b.number);
        case Kind::Bool: {
          bool t = false;
          if (!TextAsBool(a, t)) return std::nullopt;
          return static_cast<int>(t) - static_cast<int>(b.boolean);
        }
        case Kind::Null: return std::nullopt;
      }
      return std::nullopt;
    case Kind::Number:
    case Kind::Date:
      if (b.kind == Kind::Number || b.kind == Kind::Date) return Sign(a.number, b.number);
      if (b.kind == Kind::Bool) return static_cast<int>(a.number != 0) - static_cast<int>(b.boolean);
      return std::nullopt;
    case Kind::Bool:
      if (b.kind == Kind::Bool) return static_cast<int>(a.boolean) - static_cast<int>(b.boolean);
      if (b.kind == Kind::Number) return static_cast<int>(a.boolean) - static_cast<int>(b.number != 0);
      return std::nullopt;
    case Kind::Null: return std::nullopt;
  }
  return std::nullopt;
}

// ---- nodes ----------------------------------------------------------------

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

class CompareNode : public FilterNode {
 public:
  CompareNode(Op op, Operand a, Operand b) : op_(op), a_(std::move(a)), b_(std::move(b)) {}
  bool Eval(const Row& row) const override {
    const Value a = Read(a_, row), b = Read(b_, row);
    if (a.kind == Kind::Null || b.kind == Kind::Null) {
      const bool both = a.kind == b.kind;
      return op_ == Op::Eq ? both : (op_ == Op::Ne ? !both : false);
    }
    const std::optional<int> c = Compare(a, b);
    if (!c) return op_ == Op::Ne;
    switch (op_) {
      case Op::Eq: return *c == 0;
      case Op::Ne: return *c != 0;
      case Op::Lt: return *c < 0;
      case Op::Gt: return *c > 0;
      case Op::Le: return *c <= 0;
      case Op::Ge: return *c >= 0;
    }
    return false;
  }

 private:
  Op op_;
  Operand a_, b_;
};

class IsNullNode : public FilterNode {
 public:
  IsNullNode(Operand a, bool negate) : a_(std::move(a)), negate_(negate) {}
  bool Eval(const Row& row) const override {
    bool null;
    if (a_.field >= 0) {
      const Cell& c = row.cells[static_cast<std::size_t>(a_.field)];
      null = IsNullCell(c) || (a_.type == FieldType::String && TrimRight(std::get<std::string>(c)).empty());
    } else {
      null = a_.kind == Kind::Null;
    }
    return null != negate_;
  }

 private:
  Operand a_;
  bool negate_;
};

class TruthNode : public FilterNode {
 public:
  explicit TruthNode(Operand a) : a_(std::move(a)) {}
  bool Eval(const Row& row) const override {
    const Value v = Read(a_, row);
    return v.kind == Kind::Bool && v.boolean;
  }

 private:
  Operand a_;
};

class NotNode : public FilterNode {
 public:
  explicit NotNode(std::unique_ptr<FilterNode> a) : a_(std::move(a)) {}
  bool Eval(const Row& row) const override { return !a_->Eval(row); }

 private:
  std::unique_ptr<FilterNode> a_;
};

class ListNode : public FilterNode {
 public:
  ListNode(bool is_and, std::vector<std::unique_ptr<FilterNode>> items) : and_(is_and), items_(std::move(items)) {}
  bool Eval(const Row& row) const override {
    for (const auto& n : items_)
      if (n->Eval(row) != and_) return !and_;
    return and_;
  }

 private:
  bool and_;
  std::vector<std::unique_ptr<FilterNode>> items_;
};

// ---- parser ---------------------------------------------------------------

class Parser {
 public:
  Parser(std::string_view text, const std::vector<FieldDef>& defs) : lex_(text), defs_(defs) { Advance(); }

  std::unique_ptr<FilterNode> Parse() {
    auto node = Expr();
    if (tok_.kind != Tok::End) lex_.Fail(tok_.pos, "unexpected '" + Describe(tok_) + "'");
    return node;
  }

 private:
  void Advance() { tok_ = lex_.Next(); }

  static std::string Describe(const Token& t) {
    switch (t.kind) {
      case Tok::End: return "end of text";
      case Tok::Text: return "'" + t.text + "'";
      case Tok::LParen: return "(";
      case Tok::RParen: return ")";
      case Tok::Minus: return "-";
      default: return t.text;
    }
  }

  std::unique_ptr<FilterNode> List(bool is_and) {
    std::vector<std::unique_ptr<FilterNode>> items;
    items.push_back(is_and ? NotExpr() : List(true));
    while (IsKeyword(tok_, is_and ? "AND" : "OR")) {
      Advance();
      items.push_back(is_and ? NotExpr() : List(true));
    }
    if (items.size() == 1) return std::move(items.front());
    return std::make_unique<ListNode>(is_and, std::move(items));
  }

  std::unique_ptr<FilterNode> Expr() { return List(false); }

  // Nesting is bounded so that a hostile text cannot exhaust the stack.
  void Enter() {
    if (++depth_ > kMaxDepth) lex_.Fail(tok_.pos, "nesting too deep");
  }

  std::unique_ptr<FilterNode> NotExpr() {
    if (IsKeyword(tok_, "NOT")) {
      Advance();
      Enter();
      auto inner = NotExpr();
      --depth_;
      return std::make_unique<NotNode>(std::move(inner));
    }
    return Primary();
  }

  std::unique_ptr<FilterNode> Primary() {
    if (tok_.kind == Tok::LParen) {
      Enter();
      Advance();
      auto node = Expr();
      --depth_;
      if (tok_.kind != Tok::RParen) lex_.Fail(tok_.pos, "expected ')' instead of '" + Describe(tok_) + "'");
      Advance();
      return node;
    }
    const std::size_t start = tok_.pos;
    Operand left = ReadOperand();
    if (IsKeyword(tok_, "IS")) {
      Advance();
      bool negate = false;
      if (IsKeyword(tok_, "NOT")) {
        negate = true;
        Advance();
      }
      if (!IsKeyword(tok_, "NULL")) lex_.Fail(tok_.pos, "expected NULL after IS");
      Advance();
      return std::make_unique<IsNullNode>(std::move(left), negate);
    }
    if (tok_.kind != Tok::Op) {
      if (left.kind == Kind::Bool) return std::make_unique<TruthNode>(std::move(left));
      lex_.Fail(tok_.kind == Tok::End ? start : tok_.pos,
                "expected a comparison instead of '" + Describe(tok_) + "'");
    }
    const std::string op_text = tok_.text;
    Advance();
    Operand right = ReadOperand();
    return std::make_unique<CompareNode>(ToOp(op_text), std::move(left), std::move(right));
  }

  static Op ToOp(const std::string& s) {
    if (s == "=") return Op::Eq;
    if (s == "<>" || s == "!=") return Op::Ne;
    if (s == "<") return Op::Lt;
    if (s == ">") return Op::Gt;
    if (s == "<=") return Op::Le;
    return Op::Ge;
  }

  Operand ReadOperand() {
    Operand o;
    const Token t = tok_;
    switch (t.kind) {
      case Tok::Text: {
        o.kind = Kind::Text;
        o.text = t.text;
        o.text_is_number = ParseNumber(o.text, o.text_number);
        DateTime dt;
        o.text_is_date = TryStrToDateTime(std::string(TrimRight(o.text)), dt);
        o.text_date = dt.value;
        o.text_is_bool = TextAsBool(o.text, o.text_bool);
        break;
      }
      case Tok::Minus:
      case Tok::Number: {
        std::string digits = t.text;
        if (t.kind == Tok::Minus) {
          Advance();
          if (tok_.kind != Tok::Number) lex_.Fail(tok_.pos, "expected a number after '-'");
          digits = "-" + tok_.text;
        }
        o.kind = Kind::Number;
        if (!ParseNumber(digits, o.number)) lex_.Fail(t.pos, "bad number '" + digits + "'");
        break;
      }
      case Tok::Name:
        if (IsKeyword(t, "NULL")) {
          o.kind = Kind::Null;
        } else if (IsKeyword(t, "TRUE") || IsKeyword(t, "FALSE")) {
          o.kind = Kind::Bool;
          o.boolean = IsKeyword(t, "TRUE");
        } else if (IsKeyword(t, "AND") || IsKeyword(t, "OR") || IsKeyword(t, "NOT") || IsKeyword(t, "IS")) {
          lex_.Fail(t.pos, "expected a field or a value instead of '" + t.text + "'");
        } else {
          o.field = FindFieldDef(defs_, t.text);
          if (o.field < 0) lex_.Fail(t.pos, "field '" + t.text + "' not found");
          o.type = defs_[static_cast<std::size_t>(o.field)].type;
          o.kind = o.type == FieldType::String    ? Kind::Text
                   : o.type == FieldType::Boolean ? Kind::Bool
                   : o.type == FieldType::DateTime ? Kind::Date
                                                   : Kind::Number;
        }
        break;
      default:
        lex_.Fail(t.pos, "expected a field or a value instead of '" + Describe(t) + "'");
    }
    Advance();
    return o;
  }

  static constexpr int kMaxDepth = 200;
  Lexer lex_;
  const std::vector<FieldDef>& defs_;
  Token tok_;
  int depth_ = 0;
};

}  // namespace

std::unique_ptr<FilterNode> ParseFilter(std::string_view text, const std::vector<FieldDef>& defs) {
  return Parser(text, defs).Parse();
}

}  // namespace hostrt::dataset_detail
