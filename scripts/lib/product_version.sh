# Sourced by the scripts that need the product's version: the one that
# CMakeLists.txt declares.
product_version=$(sed -n 's/^project(Tallyline VERSION \([0-9.]*\).*/\1/p' \
  "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/CMakeLists.txt")
