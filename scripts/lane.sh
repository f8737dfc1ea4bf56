# Sourced by every script a CTest entry runs under Wine. CTest hands the
# entry a lane (tests/lanes.json) in CTEST_RESOURCE_GROUP_0_LANE, "id:N,slots:1";
# scripts/test.sh started lane N's display, prefix and wineserver and named
# them in REACHLET_LANE_<N>_DISPLAY and REACHLET_LANE_<N>_PREFIX. Lane 0 is
# the test command's own DISPLAY and WINEPREFIX, and so is every run outside
# the test command.
lane_id=${CTEST_RESOURCE_GROUP_0_LANE:-}
lane_id=${lane_id#id:}
lane_id=${lane_id%%,*}
if [ -n "$lane_id" ]; then
  lane_display="REACHLET_LANE_${lane_id}_DISPLAY"
  lane_prefix="REACHLET_LANE_${lane_id}_PREFIX"
  if [ -n "${!lane_display:-}" ] && [ -n "${!lane_prefix:-}" ]; then
    export DISPLAY=${!lane_display} WINEPREFIX=${!lane_prefix}
  fi
fi
