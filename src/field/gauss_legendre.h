// Gauss–Legendre nodes and weights on [−1, 1], with the values that depend only on them.
#pragma once

#include <functional>
#include <vector>

namespace tavrine {

// Runs task(0), …, task(count − 1) in any order, on any threads, and returns when all are done;
// the tables built with one come out the same to the bit whatever it does.
using TaskRunner = std::function<void(int count, const std::function<void(int)>& task)>;

class GaussLegendreTable {
 public:
  GaussLegendreTable() = default;
  explicit GaussLegendreTable(int node_count, const TaskRunner& run = {});

  int Size() const { return static_cast<int>(nodes_.size()); }
  const std::vector<double>& Nodes() const { return nodes_; }
  const std::vector<double>& Weights() const { return weights_; }
  // cos and sin of the full-turn angle π + π·x_k, the nodes of every integral over [0, 2π].
  const std::vector<double>& TurnCos() const { return turn_cos_; }
  const std::vector<double>& TurnSin() const { return turn_sin_; }

 private:
  std::vector<double> nodes_;
  std::vector<double> weights_;
  std::vector<double> turn_cos_;
  std::vector<double> turn_sin_;
};

GaussLegendreTable GaussLegendre(int node_count);

}  // namespace tavrine
