(setq a (list 1 2.5 "text" (quote b)))
(car (cdr a))