# Sourced by the set-up, run and test scripts: the path for hosts whose
# kernel runs no 32-bit code. Wine cannot start there at all (even a 64-bit
# process cannot enter the 32-bit code segment), so the program and its tests
# run in a virtual machine with a kernel of its own, under qemu's software
# emulation (no KVM needed). Its root is a Debian system made with
# debootstrap from Debian's packages only and booted from an ext4 image; the
# host builds, and a second disk carries the source and build trees to their
# own absolute paths inside the machine, so CTest's files work unchanged.
# REACHLET_VM=1 takes this path on any host; REACHLET_VM_DIR puts the
# machine's files elsewhere (one root image can serve several checkouts), and
# REACHLET_VM_SLOTS says how many of their machines may run at once (1).
#
# The guest's Debian release (and so its Wine: 8.0 in bookworm, 10.0 in
# trixie) is REACHLET_VM_SUITE; left out, it is the host's own release where
# the host is Debian, so that the guest runs what the host built with the
# same libraries, and bookworm elsewhere. Each release keeps a root of its
# own, so switching between them makes none again.

vm_host_suite() {
  local id="" codename=""
  # shellcheck disable=SC1091
  [ -r /etc/os-release ] && eval "$(. /etc/os-release; echo "id=$ID codename=${VERSION_CODENAME:-}")"
  if [ "$id" = debian ] && [ -n "$codename" ]; then echo "$codename"; else echo bookworm; fi
}
vm_suite="${REACHLET_VM_SUITE:-$(vm_host_suite)}"
vm_mirror=http://deb.debian.org/debian
vm_dir="${REACHLET_VM_DIR:-$root/build/vm}"
vm_root="$vm_dir/$vm_suite"
# Per-test time limits are multiplied by this on the VM path: measured under
# emulation, work that keeps the processor busy takes about ten times as long
# (the thousand-window leak test 381 s against 38 s), and Wine needs several
# seconds to start a process.
vm_time_scale=10
# A guard for the whole machine, so that a guest that never powers off
# cannot hang the caller.
vm_minutes="${REACHLET_VM_MINUTES:-75}"

# A 93-byte 32-bit Linux program that only exits with status 0: whether the
# kernel starts it is the whole question, asked before Wine is installed.
vm_elf32_exit='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'

# Prints, in one line, why this run has to take the VM path; fails when it
# need not (and always inside the machine).
vm_reason() {
  [ -z "${REACHLET_IN_VM:-}" ] || return 1
  if [ "${REACHLET_VM:-0}" = 1 ]; then
    echo "REACHLET_VM=1 asks for the virtual machine"
    return 0
  fi
  mkdir -p "$root/build"
  local probe out
  probe=$(mktemp "$root/build/elf32.XXXXXX")
  printf "$vm_elf32_exit" >"$probe"
  chmod +x "$probe"
  out=$("$probe" 2>&1)
  local status=$?
  rm -f "$probe"
  [ "$status" != 0 ] || return 1
  case "$out" in
    *"Exec format error"*)
      echo "this kernel runs no 32-bit programs (a 32-bit program fails with \"Exec format error\")"
      return 0 ;;
  esac
  return 1
}

vm_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# What goes into the guest's root; a change to any of it makes a new root.
vm_root_recipe() {
  source "$root/scripts/packages.sh"
  printf '%s\n' "$vm_suite" "$vm_mirror" "${run_packages[@]}"
  cat "$root/scripts/vm-init.sh"
}

# Makes build/vm/<release>/root.img, the guest's kernel and its initrd, unless the
# ones there were made from the same recipe. One maker at a time: a second
# caller waits for the first and then uses its image.
vm_prepare_root() {
  mkdir -p "$vm_root"
  (
    flock 9
    local stamp
    stamp=$(vm_root_recipe | sha256sum | cut -c1-16)
    if [ -f "$vm_root/root.img" ] && [ "$(cat "$vm_root/root.stamp" 2>/dev/null)" = "$stamp" ]; then
      exit 0
    fi
    vm_make_root "$stamp"
  ) 9>"$vm_root/root.lock"
}

vm_make_root() {
  local stamp=$1 tree="$vm_root/root" log="$vm_root/root.log" started=$SECONDS
  source "$root/scripts/packages.sh"
  vm_sudo umount "$tree/proc" 2>/dev/null || true
  vm_sudo rm -rf "$tree" "$vm_root/root.img" "$vm_root/root.stamp"
  echo "vm: making the guest's Debian root with debootstrap (about 5 minutes, once; log in $log)"
  if ! vm_sudo debootstrap --variant=minbase --include=linux-image-amd64 \
      "$vm_suite" "$tree" "$vm_mirror" >"$log" 2>&1; then
    tail -n 20 "$log"
    echo "vm: debootstrap failed"
    return 1
  fi
  vm_sudo mount -t proc proc "$tree/proc"
  local status=0
  vm_sudo chroot "$tree" env DEBIAN_FRONTEND=noninteractive sh -c '
      dpkg --add-architecture i386 &&
      apt-get update -qq &&
      apt-get install -y -qq --no-install-recommends "$@" &&
      apt-get clean' sh "${run_packages[@]}" >>"$log" 2>&1 || status=$?
  vm_sudo umount "$tree/proc"
  if [ "$status" != 0 ]; then
    tail -n 20 "$log"
    echo "vm: installing the guest's packages failed"
    return 1
  fi
  # Names the tests resolve without a network.
  printf '127.0.0.1\tlocalhost reachlet-vm\n::1\tlocalhost ip6-localhost ip6-loopback\n' |
    vm_sudo tee "$tree/etc/hosts" >/dev/null
  echo reachlet-vm | vm_sudo tee "$tree/etc/hostname" >/dev/null
  # No network card: a resolver address that nothing answers.
  echo "nameserver 192.0.2.53" | vm_sudo tee "$tree/etc/resolv.conf" >/dev/null
  vm_sudo install -m 755 "$root/scripts/vm-init.sh" "$tree/reachlet-init"
  vm_sudo cp "$(ls "$tree"/boot/vmlinuz-* | tail -n 1)" "$vm_root/vmlinuz"
  vm_sudo cp "$(ls "$tree"/boot/initrd.img-* | tail -n 1)" "$vm_root/initrd.img"
  local size
  size=$(( $(vm_sudo du -sm "$tree" | cut -f1) + 768 ))
  vm_sudo mkfs.ext4 -q -F -L reachlet-root -d "$tree" "$vm_root/root.img" "${size}M" >>"$log" 2>&1 ||
    { tail -n 5 "$log"; echo "vm: mkfs.ext4 failed"; return 1; }
  vm_sudo rm -rf "$tree"
  echo "$stamp" >"$vm_root/root.stamp"
  echo "vm: guest root ready in $((SECONDS - started)) s"
}

# Copies (as hard links where it can) the directory $1 into $2, leaving out
# build trees and history; $3... are names of $1 to leave out as well.
vm_stage_tree() {
  local from=$1 to=$2 entry name
  shift 2
  mkdir -p "$to"
  for entry in "$from"/* "$from"/.[!.]*; do
    [ -e "$entry" ] || continue
    name=${entry##*/}
    case " .git $* " in *" $name "*) continue ;; esac
    cp -al "$entry" "$to/" 2>/dev/null || cp -a "$entry" "$to/"
  done
}

# Runs `bash <script> <args>` inside the machine, from the source tree, with
# the build tree at its place; the guest's console comes out on standard
# output and the script's status is the result. The job's disk is left in
# $vm_work/work.img for vm_copy_out until vm_cleanup.
vm_run() {
  vm_work=$(mktemp -d "$vm_dir/run.XXXXXX")
  local stage="$vm_work/stage" dirs=("$root")
  vm_stage_tree "$root" "$stage$root" build
  case "$build_dir" in
    "$root"/*) ;;
    *) dirs+=("$build_dir") ;;
  esac
  vm_stage_tree "$build_dir" "$stage$build_dir"
  {
    printf 'job_dirs=('; printf '%q ' "${dirs[@]}"; printf ')\n'
    printf 'job=('; printf '%q ' "$@"; printf ')\n'
  } >"$stage/.vm-job"
  # Room for the Wine prefixes and whatever the job writes.
  local size
  size=$(( $(du -sm "$stage" | cut -f1) + 3072 ))
  mkfs.ext4 -q -F -L reachlet-job -d "$stage" "$vm_work/work.img" "${size}M" >/dev/null ||
    { echo "vm: could not make the job's disk"; return 1; }
  rm -rf "$stage"

  # Machines started from several checkouts at once would share the host's
  # processors and run past their time limits; the rest wait for a slot.
  local slot=0 slots="${REACHLET_VM_SLOTS:-1}" waited="" vm_slot_fd
  while :; do
    exec {vm_slot_fd}>"$vm_dir/slot.$slot.lock"
    flock -n "$vm_slot_fd" && break
    exec {vm_slot_fd}>&-
    slot=$(( (slot + 1) % slots ))
    if [ "$slot" = 0 ]; then
      [ -n "$waited" ] || echo "vm: waiting for another run's machine to finish"
      waited=1
      sleep 5
    fi
  done

  local cpus=2
  timeout "${vm_minutes}m" qemu-system-x86_64 \
      -accel tcg,thread=multi -smp "$cpus" -m 6144 \
      -cpu max,-umip,-smap,-smep \
      -kernel "$vm_root/vmlinuz" -initrd "$vm_root/initrd.img" \
      -append "root=/dev/vda rw console=ttyS0 quiet loglevel=1 init=/reachlet-init" \
      -drive file="$vm_root/root.img",format=raw,if=virtio,snapshot=on \
      -drive file="$vm_work/work.img",format=raw,if=virtio \
      -display none -monitor none -serial stdio -nic none -no-reboot \
      </dev/null 2>"$vm_work/qemu.err" | vm_console "$vm_work/status"
  local qemu_status=${PIPESTATUS[0]}
  exec {vm_slot_fd}>&-
  if [ -s "$vm_work/status" ]; then
    return "$(cat "$vm_work/status")"
  fi
  if [ "$qemu_status" = 124 ]; then
    echo "vm: the machine was still running after $vm_minutes minutes and was stopped"
  else
    cat "$vm_work/qemu.err"
    echo "vm: the machine stopped (qemu status $qemu_status) without the job's status"
  fi
  return 1
}

# Passes the guest's console through, without its CRs, and keeps the job's
# status from the marked line that vm-init.sh prints last; what the kernel
# says while powering off comes after it and is dropped.
vm_console() {
  local line
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    case "$line" in
      *"@@reachlet-vm-status="*)
        line=${line#*@@reachlet-vm-status=}
        echo "${line%%@@*}" >"$1"
        cat >/dev/null
        return ;;
      *) printf '%s\n' "$line" ;;
    esac
  done
}

# Copies the file at absolute path $1, as the job left it, to $2.
vm_copy_out() {
  debugfs -R "dump -p $1 $2" "$vm_work/work.img" >/dev/null 2>&1 && [ -s "$2" ]
}

vm_cleanup() {
  [ -n "${vm_work:-}" ] && [ -z "${REACHLET_VM_KEEP:-}" ] && rm -rf "$vm_work"
  vm_work=""
}
