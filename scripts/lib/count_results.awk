# Counts the test cases of a JUnit-style XML report (GoogleTest's and CTest's
# both): prints "passed failed". A case with a <failure> or <error> inside it
# failed; a skipped one counts as neither.
/<testcase[ >]/ {
  open = 1; failed = 0; skipped = 0
  if ($0 ~ /status="fail"/) failed = 1
}
open && /<(failure|error)[ >\/]/ { failed = 1 }
open && /<skipped[ >\/]/ { skipped = 1 }
open && (/<testcase[^>]*\/>/ || /<\/testcase>/) {
  if (failed) f++; else if (!skipped) p++
  open = 0
}
END { printf "%d %d\n", p, f }
