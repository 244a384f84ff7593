;;; Drives velkin-lsp from Emacs's eglot, as an author would: opens a broken
;;; definition, waits for its diagnostics, goes to a definition, renames and
;;; applies a code action, then writes what it saw to results.txt.
(package-initialize)                    ; Debian's elpa-eglot, for Emacs 28
(require 'eglot)
(require 'cl-lib)
(defvar velkin-dir (getenv "LSP_DIR"))
(defvar velkin-lines nil)
(defun velkin-note (fmt &rest args) (push (apply #'format fmt args) velkin-lines))
(defun velkin-finish ()
  (with-temp-file (expand-file-name "results.txt" velkin-dir)
    (insert (mapconcat #'identity (reverse velkin-lines) "\n") "\n"))
  (kill-emacs 0))
(defun velkin-wait (predicate seconds)
  (let ((deadline (+ (float-time) seconds)))
    (while (and (not (funcall predicate)) (< (float-time) deadline))
      (accept-process-output nil 0.05))
    (funcall predicate)))
(defun velkin-goto (line column)
  (goto-char (point-min)) (forward-line (1- line)) (forward-char column))

;; The recipe of the README, with the major modes this Emacs gives .json files.
(add-to-list 'eglot-server-programs
             `((json-mode json-ts-mode js-json-mode js-mode) . (,(getenv "LSP_SERVER"))))
(setq eglot-sync-connect 5 eglot-events-buffer-size 0)
(find-file (expand-file-name "menu-tv.json" velkin-dir))
(apply #'eglot (eglot--guess-contact))
(unless (velkin-wait (lambda () (flymake-diagnostics)) 10)
  (velkin-note "no diagnostics") (velkin-finish))
(dolist (d (sort (flymake-diagnostics) (lambda (a b) (< (flymake-diagnostic-beg a) (flymake-diagnostic-beg b)))))
  (let ((lsp (cdr (assoc 'eglot-lsp-diag (eglot--diag-data d)))))
    (save-excursion
      (goto-char (flymake-diagnostic-beg d))
      (velkin-note "diagnostic %d:%d %s" (1- (line-number-at-pos)) (- (point) (line-beginning-position))
                   (plist-get lsp :code)))))

;; Definition of "brightness" in the "picture" menu (line 4).
(velkin-goto 4 40)
(let ((xref-prompt-for-identifier nil)) (call-interactively #'xref-find-definitions))
(velkin-note "definition %d:%d" (line-number-at-pos) (- (point) (line-beginning-position)))

;; Rename "Größe", whose character column differs from its UTF-16 one.
(velkin-goto 4 52)
(eglot-rename "size")
(save-buffer)
(save-excursion
  (velkin-goto 4 0)
  (velkin-note "renamed %s" (buffer-substring-no-properties (point) (line-end-position))))

;; The first code action at the unused definition.
(let* ((unused (cl-find-if (lambda (d) (equal (plist-get (cdr (assoc 'eglot-lsp-diag (eglot--diag-data d))) :code)
                                              "unused-definition"))
                           (flymake-diagnostics)))
       (actions (and unused (eglot-code-actions (flymake-diagnostic-beg unused) (flymake-diagnostic-end unused)))))
  (velkin-note "action %s" (if actions (plist-get (car actions) :title) "none"))
  (when actions
    ;; The edit creates .velkin-check: eglot asks before touching another file.
    ;; (Emacs 29 and later name the command that asks for the edit.)
    (cl-letf (((symbol-function 'y-or-n-p) (lambda (&rest _) t)))
      (apply #'eglot--apply-workspace-edit (plist-get (car actions) :edit)
             (and (> (car (func-arity #'eglot--apply-workspace-edit)) 1) '(eglot-code-actions)))))
  (save-some-buffers t))

(eglot-shutdown (eglot-current-server))
(velkin-note "stopped %s" (if (eglot-current-server) "no" "yes"))
(velkin-finish)
