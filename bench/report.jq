# Turns gattdb_bench's JSON output, run with repetitions, into a table of figures and the ratios the
# library is held to, and stops with an error when a benchmark failed or a ratio misses its target.
#
# A figure is the median over the repetitions of the CPU time per call, which preemption on a busy
# machine does not inflate; the manual-time benchmark gives the wall time it measured itself.

def nanoseconds:
  (if (.run_name | endswith("/manual_time")) then .real_time else .cpu_time end)
  * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[.time_unit];
def left($width): if length < $width then . + " " * ($width - length) else . end;
def right($width): if length < $width then " " * ($width - length) + . else . end;
def shown:
  (. * 100 | round) as $hundredths
  | "\($hundredths / 100 | floor).\($hundredths % 100 | tostring | if length < 2 then "0" + . else . end)";

[
  "largest_build", "largest_get_db_size", "largest_generate_db", "largest_memcpy", "heart_rate_cycle",
  "init_db_empty", "init_db_after_full_table"
] as $names
| [
    {ratio: "generate_db / memcpy", of: "largest_generate_db", target: "3.0"},
    {ratio: "heart-rate cycle / memcpy", of: "heart_rate_cycle", target: "0.5"},
    {ratio: "get_db_size / memcpy", of: "largest_get_db_size", target: "0.5"}
  ] as $targets
| [.benchmarks[] | select(.error_occurred) | "\(.name): \(.error_message)"] as $errors
| (reduce (.benchmarks[] | select(.aggregate_name == "median")) as $run
     ({}; .[$run.run_name | sub("/manual_time$"; "")] = ($run | nanoseconds))) as $ns
| [$names[] | select($ns[.] == null) | "\(.): no result"] as $missing
| if ($errors + $missing | length) > 0 then
    "benchmarks failed: \($errors + $missing | join("; "))\n" | halt_error(1)
  else
    ($targets | map(. + {value: ($ns[.of] / $ns.largest_memcpy)})) as $ratios
    | "benchmark (median)              ns per call",
      ($names[] | "\(left(30)) \($ns[.] | shown | right(12))"),
      "",
      "ratio                           value   target",
      ($ratios[] | "\(.ratio | left(30)) \(.value | shown | right(6))   <= \(.target)  "
                   + (if .value <= (.target | tonumber) then "met" else "MISSED" end)),
      (if any($ratios[]; .value > (.target | tonumber)) then "a target was missed\n" | halt_error(1) else empty end)
  end
