# Sourced by the platform test scripts.
#
# run_program OUT ERR INPUT COMMAND... : runs the program once under the
# timeout, standard output to OUT and standard error to ERR; returns its status.
#
# Wine now and then fails to start a program even with a persistent server:
# status 1 and nothing written (measured: about one run in three thousand).
# The program itself never ends with status 1 and always writes its menu first,
# so when PLATFORM_RETRY_LOG is set (for Wine) such a run is repeated, at most
# twice, and logged there so the summary can count it.
run_program() {
  local out=$1 err=$2 input=$3
  shift 3
  local tries=0 status
  while :; do
    timeout -k 5 "${PLATFORM_TIMEOUT:-120}" "$@" < "$input" > "$out" 2> "$err"
    status=$?
    if [ "$status" -eq 1 ] && [ -n "${PLATFORM_RETRY_LOG:-}" ] && [ ! -s "$out" ] && [ "$tries" -lt 2 ]; then
      tries=$((tries + 1))
      echo "${input##*/}: status 1, no output; standard error: $(head -c 200 "$err" | tr '\n' ' ')" >> "$PLATFORM_RETRY_LOG"
      continue
    fi
    return "$status"
  done
}
export -f run_program
