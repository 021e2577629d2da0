(load "nowhere" (quote missing))
(arxunload "none")