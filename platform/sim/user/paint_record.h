// Keeps what each window drew in its most recent paint.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include <sim/paint.h>

namespace sim::user {

class PaintLog {
 public:
  void Begin(HWND hwnd) { ops_[hwnd].clear(); }
  // A destroyed window's drawing is forgotten (handles are never reused).
  void Forget(HWND hwnd) { ops_.erase(hwnd); }
  void Add(HWND hwnd, const PaintOp& op) { ops_[hwnd].push_back(op); }
  std::vector<PaintOp> Last(HWND hwnd) const {
    auto it = ops_.find(hwnd);
    return it == ops_.end() ? std::vector<PaintOp>{} : it->second;
  }

 private:
  std::map<HWND, std::vector<PaintOp>> ops_;
};

PaintLog& Paints();

}  // namespace sim::user
