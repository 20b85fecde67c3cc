# Sourced by the set-up, build and run scripts: a step whose output would
# drown the terminal goes to a log, and a failure is never silent.
#   vivarn_step LOG COMMAND...   runs COMMAND with its output in LOG; when it
#                                fails, prints its last lines and the log's
#                                path, and returns its exit code
vivarn_step() {
  local log="$1"; shift
  mkdir -p "$(dirname "$log")"
  local code=0
  "$@" >"$log" 2>&1 || code=$?
  if [ "$code" != 0 ]; then
    echo "failed (exit $code): $*" >&2
    tail -n 25 "$log" | sed 's/^/    /' >&2
    echo "full log: $log" >&2
  fi
  return "$code"
}
