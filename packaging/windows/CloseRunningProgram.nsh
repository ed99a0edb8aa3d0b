  ; A running Kestrava holds its executable open, which could then be neither
  ; replaced nor deleted. Its window never refuses a close: each one is asked to close
  ; and its process awaited, a few seconds at most.
  StrCpy $3 0
  close_next_window:
    FindWindow $0 "KestravaForm1"
    IntPtrCmp $0 0 running_program_closed
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    ; SYNCHRONIZE
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"
    ; WM_CLOSE
    SendMessage $0 0x0010 0 0 /TIMEOUT=5000
    System::Call "kernel32::WaitForSingleObject(p r2, i 5000)"
    System::Call "kernel32::CloseHandle(p r2)"
    IntOp $3 $3 + 1
    IntCmp $3 8 running_program_closed close_next_window running_program_closed
  running_program_closed:
