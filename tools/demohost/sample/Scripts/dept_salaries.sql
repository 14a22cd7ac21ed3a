-- Salary totals per department.
select d.deptno,
       d.dname,
       count(e.empno)  as employees,
       sum(e.sal)      as total_salary,
       round(avg(e.sal), 2) as average_salary
  from dept d
  left join emp e on e.deptno = d.deptno
 group by d.deptno, d.dname
 order by d.deptno;
