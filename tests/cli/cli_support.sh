# Sourced by the command-line tests, with their arguments: the batch
# command ($1) and the example folder ($2). Each test runs in a folder of
# its own, removed at the end.
calc="$1"
examples="$2"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
fail() { echo "FAILED: $*"; exit 1; }
