namespace kestul {}
