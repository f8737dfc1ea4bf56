#!/bin/bash
# The first process of the test machine (vm-env.sh installs it as
# /reachlet-init in the guest's root). It mounts what programs expect, puts
# the job disk's trees at their own absolute paths, runs the job with its
# output on the console, prints the job's status in one marked line that the
# host reads, and powers the machine off.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/root LANG=C.UTF-8

mounted() { grep -q " $1 " /proc/mounts 2>/dev/null; }
mounted /proc || mount -t proc proc /proc
mounted /sys || mount -t sysfs sysfs /sys
mounted /dev || mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /dev/shm
mounted /dev/pts || mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
ip link set lo up
hostname reachlet-vm

status=1
if mkdir -p /mnt/job && mount /dev/vdb /mnt/job && . /mnt/job/.vm-job; then
  for dir in "${job_dirs[@]}"; do
    mkdir -p "$dir" && mount --bind "/mnt/job$dir" "$dir"
  done
  # Through a pipe, as on a host's CI: the console is a terminal, and
  # programs would colour their output for it. Whatever the job leaves
  # running (a display, a wineserver) may hold the pipe open, so it is ended
  # once the job has, and the copy to the console then sees the pipe's end.
  mkfifo /run/job.out
  cat /run/job.out &
  console_pid=$!
  cd "${job_dirs[0]}" && REACHLET_IN_VM=1 bash "${job[@]}" </dev/null >/run/job.out 2>&1
  status=$?
  cd /
  for proc in /proc/[0-9]*; do
    pid=${proc#/proc/}
    [ "$pid" = 1 ] || [ "$pid" = "$console_pid" ] || kill -9 "$pid" 2>/dev/null
  done
  wait "$console_pid"
  for dir in "${job_dirs[@]}"; do umount "$dir"; done
  umount /mnt/job
else
  echo "vm: the job's disk could not be read"
fi
echo "@@reachlet-vm-status=$status@@"
sync
echo 1 >/proc/sys/kernel/sysrq
echo o >/proc/sysrq-trigger
sleep 60
