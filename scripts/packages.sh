# Debian's packages the project needs, sourced by the set-up script and by
# the virtual machine's recipe (vm-env.sh).
# What runs the program and its tests under Wine, on a host or in the VM.
run_packages=(
  wine wine32:i386 fonts-wine
  xvfb xdotool x11-utils imagemagick
  cmake iproute2 iputils-ping
  unrtf ghostscript
)
# What builds it: the mingw-w64 i686 cross toolchain and GoogleTest's sources.
build_packages=(
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  make googletest
)
# What makes and boots the VM, on hosts whose kernel runs no 32-bit code.
vm_host_packages=(debootstrap qemu-system-x86 e2fsprogs)
