// Gauss–Legendre nodes and weights on [−1, 1], with the values that depend only on them.
#pragma once

#include <vector>

namespace tavrine {

class GaussLegendreTable {
 public:
  GaussLegendreTable() = default;
  explicit GaussLegendreTable(int node_count);

  int Size() const { return static_cast<int>(nodes_.size()); }
  const std::vector<double>& Nodes() const { return nodes_; }
  const std::vector<double>& Weights() const { return weights_; }

 private:
  std::vector<double> nodes_;
  std::vector<double> weights_;
};

GaussLegendreTable GaussLegendre(int node_count);

}  // namespace tavrine
