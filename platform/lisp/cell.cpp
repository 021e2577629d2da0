// The cell store: allocation, symbol interning and collection.
#include "lisp/cell.h"

#include <cctype>

#include "adslib.h"

namespace lisp {

Value Store::make(Type type) {
  ++m_madeSinceCollection;
  Cell* cell;
  if (m_free.empty()) {
    cell = &m_cells.emplace_back();
  } else {
    cell = m_free.back();
    m_free.pop_back();
    *cell = Cell{};
  }
  cell->type = type;
  return cell;
}

Value Store::symbol(const std::string& name) {
  std::string key = name;
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  auto found = m_symbols.find(key);
  if (found != m_symbols.end()) return found->second;
  Value sym = make(Type::Symbol);
  sym->text = key;
  m_symbols.emplace(key, sym);
  return sym;
}

void Store::collect() {
  m_madeSinceCollection = 0;
  std::vector<Cell*> pending;
  for (auto& [key, sym] : m_symbols) pending.push_back(sym);
  while (!pending.empty()) {
    Cell* cell = pending.back();
    pending.pop_back();
    if (!cell || cell->marked) continue;
    cell->marked = true;
    pending.push_back(cell->car);
    pending.push_back(cell->cdr);
  }
  m_free.clear();
  for (Cell& cell : m_cells) {
    if (cell.marked) {
      cell.marked = false;
    } else {
      // A selection set nothing refers to any more goes back to the host.
      if (cell.type == Type::SelectionSet && cell.owned) ads_ssfree(cell.name);
      cell = Cell{};
      m_free.push_back(&cell);
    }
  }
}

}  // namespace lisp
